package {
  /** Stand-in for ActionScript's ArgumentError: a wrong argument value. */
  public class ArgumentError extends Error {
    public var errorID:int;

    public function ArgumentError(message:String = "", id:int = 0) {
      super(message);
      // Error's constructor, called as a function on a compiled subclass, keeps no message.
      this.message = message;
      this.name = "ArgumentError";
      errorID = id;
    }
  }
}
