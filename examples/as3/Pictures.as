package {
  import flash.display.BitmapData;
  import flash.filesystem.File;
  import flash.filesystem.FileMode;
  import flash.filesystem.FileStream;
  import flash.utils.ByteArray;
  import flash.utils.Endian;

  /** Saving frames as PNG pictures, as an AIR application would: a small PNG encoder and a FileStream. */
  public class Pictures {
    private static var crcTable:Array;

    /** A frame as getVideoData leaves it (width × height pixels of blue, green, red, alpha) as a BitmapData. */
    public static function fromFrame(frame:ByteArray, width:int, height:int):BitmapData {
      var picture:BitmapData = new BitmapData(width, height, true, 0);
      frame.position = 0;
      frame.endian = Endian.LITTLE_ENDIAN;  // B, G, R, A in memory is the ARGB word little-endian
      for (var y:int = 0; y < height; ++y)
        for (var x:int = 0; x < width; ++x) picture.setPixel32(x, y, frame.readUnsignedInt());
      frame.endian = Endian.BIG_ENDIAN;
      return picture;
    }

    /** Writes the picture as a PNG file (8-bit RGBA). */
    public static function save(picture:BitmapData, file:File):void {
      var stream:FileStream = new FileStream();
      stream.open(file, FileMode.WRITE);
      stream.writeBytes(encode(picture));
      stream.close();
    }

    public static function encode(picture:BitmapData):ByteArray {
      var png:ByteArray = new ByteArray();
      png.writeUnsignedInt(0x89504E47);
      png.writeUnsignedInt(0x0D0A1A0A);
      var header:ByteArray = new ByteArray();
      header.writeInt(picture.width);
      header.writeInt(picture.height);
      header.writeByte(8);  // bits per sample
      header.writeByte(6);  // RGBA
      header.writeByte(0);
      header.writeByte(0);
      header.writeByte(0);
      chunk(png, 0x49484452, header);
      var rows:ByteArray = new ByteArray();
      for (var y:int = 0; y < picture.height; ++y) {
        rows.writeByte(0);  // no filter
        for (var x:int = 0; x < picture.width; ++x) {
          var argb:uint = picture.getPixel32(x, y);
          rows.writeUnsignedInt(((argb & 0xFFFFFF) << 8 | argb >>> 24) >>> 0);
        }
      }
      rows.compress();
      chunk(png, 0x49444154, rows);
      chunk(png, 0x49454E44, null);
      return png;
    }

    private static function chunk(png:ByteArray, type:uint, data:ByteArray):void {
      var length:uint = data ? data.length : 0;
      png.writeUnsignedInt(length);
      var start:uint = png.position;
      png.writeUnsignedInt(type);
      if (length > 0) png.writeBytes(data);
      var end:uint = png.position;
      png.position = start;
      var crc:uint = crc32(png, start, end - start);
      png.position = end;
      png.writeUnsignedInt(crc);
    }

    private static function crc32(bytes:ByteArray, start:uint, count:uint):uint {
      if (crcTable == null) {
        crcTable = [];
        for (var n:uint = 0; n < 256; ++n) {
          var c:uint = n;
          for (var k:int = 0; k < 8; ++k) c = (c & 1) ? (0xEDB88320 ^ (c >>> 1)) >>> 0 : c >>> 1;
          crcTable[n] = c;
        }
      }
      var crc:uint = 0xFFFFFFFF;
      for (var i:uint = 0; i < count; ++i)
        crc = (uint(crcTable[(crc ^ bytes.byteAt(start + i)) & 0xFF]) ^ (crc >>> 8)) >>> 0;
      return (crc ^ 0xFFFFFFFF) >>> 0;
    }
  }
}
