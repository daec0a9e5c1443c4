package flash.errors {
  /** Stand-in for flash.errors.EOFError, with AIR's errorID. */
  public class EOFError extends Error {
    public var errorID:int;

    public function EOFError(message:String = "", id:int = 0) {
      super(message);
      // Error's constructor, called as a function on a compiled subclass, keeps no message.
      this.message = message;
      this.name = "EOFError";
      errorID = id;
    }
  }
}
