package flash.utils {
  import flash.errors.EOFError;
  import flash.errors.IOError;

  /**
   * Stand-in for flash.utils.ByteArray over a Node Buffer: length, position, endian, the read and
   * write methods for bytes, integers, floats and UTF-8 text, compress and uncompress (zlib).
   * Reading past the end throws an EOFError (errorID 2030). Not here:
   * bytes[i] indexing (use readUnsignedByte / writeByte with position, or byteAt / setByteAt),
   * AMF objects.
   */
  public class ByteArray {
    private static const Buffer:Object = require("buffer")["Buffer"];
    private static const zlib:Object = require("zlib");

    private var _buf:Object = Buffer["alloc"](0);
    private var _length:uint = 0;
    private var _position:uint = 0;
    private var _endian:String = Endian.BIG_ENDIAN;

    public function ByteArray() {
    }

    public function get length():uint { return _length; }

    /** Grows with zero bytes, or cuts; the position is left as it is. */
    public function set length(value:uint):void {
      reserve(value);
      if (value > _length) _buf["fill"](0, _length, value);
      _length = value;
    }

    public function get position():uint { return _position; }
    public function set position(value:uint):void { _position = value; }
    public function get bytesAvailable():uint { return _position < _length ? _length - _position : 0; }
    public function get endian():String { return _endian; }
    public function set endian(value:String):void {
      if (value != Endian.BIG_ENDIAN && value != Endian.LITTLE_ENDIAN) throw new ArgumentError("Error #2008: Parameter endian must be one of the accepted values.", 2008);
      _endian = value;
    }

    public function clear():void {
      _buf = Buffer["alloc"](0);
      _length = 0;
      _position = 0;
    }

    /** The byte at index (0 past the end), without moving the position. */
    public function byteAt(index:uint):uint {
      return index < _length ? uint(_buf[index]) : 0;
    }

    /** Writes the byte at index, growing the array when needed, without moving the position. */
    public function setByteAt(index:uint, value:int):void {
      if (index >= _length) length = index + 1;
      _buf[index] = value & 0xFF;
    }

    public function readByte():int { need(1); var v:int = _buf["readInt8"](_position); _position += 1; return v; }
    public function readUnsignedByte():uint { need(1); var v:uint = _buf["readUInt8"](_position); _position += 1; return v; }
    public function readBoolean():Boolean { return readUnsignedByte() != 0; }
    public function readShort():int { need(2); var v:int = _buf[big ? "readInt16BE" : "readInt16LE"](_position); _position += 2; return v; }
    public function readUnsignedShort():uint { need(2); var v:uint = _buf[big ? "readUInt16BE" : "readUInt16LE"](_position); _position += 2; return v; }
    public function readInt():int { need(4); var v:int = _buf[big ? "readInt32BE" : "readInt32LE"](_position); _position += 4; return v; }
    public function readUnsignedInt():uint { need(4); var v:uint = _buf[big ? "readUInt32BE" : "readUInt32LE"](_position); _position += 4; return v; }
    public function readFloat():Number { need(4); var v:Number = _buf[big ? "readFloatBE" : "readFloatLE"](_position); _position += 4; return v; }
    public function readDouble():Number { need(8); var v:Number = _buf[big ? "readDoubleBE" : "readDoubleLE"](_position); _position += 8; return v; }

    public function readUTFBytes(count:uint):String {
      need(count);
      var s:String = _buf["toString"]("utf8", _position, _position + count);
      _position += count;
      return s;
    }

    /** Copies count bytes (all that are left when 0) into bytes at offset. */
    public function readBytes(bytes:ByteArray, offset:uint = 0, count:uint = 0):void {
      if (count == 0) count = bytesAvailable;
      need(count);
      bytes.putBytes(offset, _buf["subarray"](_position, _position + count));
      _position += count;
    }

    public function writeByte(value:int):void { var at:uint = grow(1); _buf[at] = value & 0xFF; }
    public function writeBoolean(value:Boolean):void { writeByte(value ? 1 : 0); }
    public function writeShort(value:int):void { var at:uint = grow(2); _buf[big ? "writeUInt16BE" : "writeUInt16LE"](value & 0xFFFF, at); }
    public function writeInt(value:int):void { var at:uint = grow(4); _buf[big ? "writeInt32BE" : "writeInt32LE"](value | 0, at); }
    public function writeUnsignedInt(value:uint):void { var at:uint = grow(4); _buf[big ? "writeUInt32BE" : "writeUInt32LE"](value >>> 0, at); }
    public function writeFloat(value:Number):void { var at:uint = grow(4); _buf[big ? "writeFloatBE" : "writeFloatLE"](value, at); }
    public function writeDouble(value:Number):void { var at:uint = grow(8); _buf[big ? "writeDoubleBE" : "writeDoubleLE"](value, at); }

    public function writeUTFBytes(value:String):void {
      var bytes:Object = Buffer["from"](value, "utf8");
      var at:uint = grow(uint(bytes["length"]));
      bytes["copy"](_buf, at);
    }

    /** Writes count bytes (all from offset when 0) of bytes at the position. */
    public function writeBytes(bytes:ByteArray, offset:uint = 0, count:uint = 0):void {
      if (count == 0) count = offset < bytes.length ? bytes.length - offset : 0;
      if (offset + count > bytes.length) throw new RangeError("Error #2006: The supplied index is out of bounds.");
      var source:Object = bytes.airBytes()["subarray"](offset, offset + count);
      var at:uint = grow(count);
      source["copy"](_buf, at);
    }

    /** zlib compression of the whole array (AIR's default); the position moves to the end. */
    public function compress(algorithm:String = "zlib"):void {
      adopt(algorithm == "deflate" ? zlib["deflateRawSync"](airBytes()) : zlib["deflateSync"](airBytes()));
      _position = _length;
    }

    public function uncompress(algorithm:String = "zlib"):void {
      try {
        adopt(algorithm == "deflate" ? zlib["inflateRawSync"](airBytes()) : zlib["inflateSync"](airBytes()));
      } catch (e:Object) {
        throw new IOError("Error #2058: There was an error decompressing the data.", 2058);
      }
      _position = 0;
    }

    public function toString():String {
      return _buf["toString"]("utf8", 0, _length);
    }

    /** For the runtime stand-in: a view of the bytes (not a copy). */
    public function airBytes():Object {
      return _buf["subarray"](0, _length);
    }

    /** For the runtime stand-in: the bytes become a copy of these; the position stays. */
    public function airAdopt(bytes:Object):void {
      var n:uint = uint(bytes["length"]);
      _buf = Buffer["alloc"](n);
      _buf["set"](bytes);
      _length = n;
    }

    private function adopt(bytes:Object):void {
      airAdopt(bytes);
    }

    private function putBytes(offset:uint, bytes:Object):void {
      var end:uint = offset + uint(bytes["length"]);
      if (end > _length) length = end;
      bytes["copy"](_buf, offset);
    }

    private function get big():Boolean {
      return _endian == Endian.BIG_ENDIAN;
    }

    private function need(count:uint):void {
      if (_position + count > _length) throw new EOFError("Error #2030: End of file was encountered.", 2030);
    }

    // Makes room for count bytes at the position; answers where they go.
    private function grow(count:uint):uint {
      var at:uint = _position;
      if (at + count > _length) length = at + count;
      _position = at + count;
      return at;
    }

    private function reserve(size:uint):void {
      var capacity:uint = uint(_buf["length"]);
      if (size <= capacity) return;
      var next:uint = Math.max(size, capacity * 2, 64);
      var bigger:Object = Buffer["alloc"](next);
      _buf["copy"](bigger, 0, 0, _length);
      _buf = bigger;
    }
  }
}
