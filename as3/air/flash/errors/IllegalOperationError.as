package flash.errors {
  /** Stand-in for flash.errors.IllegalOperationError, with AIR's errorID. */
  public class IllegalOperationError extends Error {
    public var errorID:int;

    public function IllegalOperationError(message:String = "", id:int = 0) {
      super(message);
      // Error's constructor, called as a function on a compiled subclass, keeps no message.
      this.message = message;
      this.name = "IllegalOperationError";
      errorID = id;
    }
  }
}
