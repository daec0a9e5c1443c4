package flash.filesystem {
  public final class FileMode {
    public static const READ:String = "read";
    public static const WRITE:String = "write";
    public static const APPEND:String = "append";
    public static const UPDATE:String = "update";
  }
}
