package flash.errors {
  /** Stand-in for flash.errors.IOError, with AIR's errorID. */
  public class IOError extends Error {
    public var errorID:int;

    public function IOError(message:String = "", id:int = 0) {
      super(message);
      // Error's constructor, called as a function on a compiled subclass, keeps no message.
      this.message = message;
      this.name = "IOError";
      errorID = id;
    }
  }
}
