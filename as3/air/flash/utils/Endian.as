package flash.utils {
  public final class Endian {
    public static const BIG_ENDIAN:String = "bigEndian";
    public static const LITTLE_ENDIAN:String = "littleEndian";
  }
}
