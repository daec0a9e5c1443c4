package flash.display {
  import flash.geom.Rectangle;
  import flash.utils.ByteArray;

  /**
   * Stand-in for flash.display.BitmapData: a width × height picture of 32-bit ARGB pixels, top row
   * first. A bitmap that is not transparent keeps every alpha at FF. Sizes as AIR: 1 to 8191 pixels
   * a side and at most 16,777,215 pixels, else an ArgumentError. Not here: drawing, filters,
   * copyPixels between bitmaps.
   */
  public class BitmapData {
    private var _width:int;
    private var _height:int;
    private var _transparent:Boolean;
    private var _pixels:Object;

    public function BitmapData(width:int, height:int, transparent:Boolean = true, fillColor:uint = 0xFFFFFFFF) {
      if (width < 1 || height < 1 || width > 8191 || height > 8191 || width * height > 16777215)
        throw new ArgumentError("Error #2015: Invalid BitmapData.", 2015);
      _width = width;
      _height = height;
      _transparent = transparent;
      _pixels = new Uint32Array(width * height);
      _pixels["fill"](opaque(fillColor));
    }

    public function get width():int { return _width; }
    public function get height():int { return _height; }
    public function get transparent():Boolean { return _transparent; }
    public function get rect():Rectangle { return new Rectangle(0, 0, _width, _height); }

    public function getPixel32(x:int, y:int):uint {
      return inside(x, y) ? uint(_pixels[y * _width + x]) : 0;
    }

    public function getPixel(x:int, y:int):uint {
      return getPixel32(x, y) & 0xFFFFFF;
    }

    public function setPixel32(x:int, y:int, color:uint):void {
      if (inside(x, y)) _pixels[y * _width + x] = opaque(color);
    }

    public function setPixel(x:int, y:int, color:uint):void {
      if (inside(x, y)) _pixels[y * _width + x] = (uint(_pixels[y * _width + x]) & 0xFF000000) | (color & 0xFFFFFF);
    }

    public function fillRect(rect:Rectangle, color:uint):void {
      for (var y:int = Math.max(0, rect.y); y < Math.min(_height, rect.y + rect.height); ++y)
        for (var x:int = Math.max(0, rect.x); x < Math.min(_width, rect.x + rect.width); ++x)
          _pixels[y * _width + x] = opaque(color);
    }

    /** The pixels of rect as ARGB words, big-endian, row after row. */
    public function getPixels(rect:Rectangle):ByteArray {
      var out:ByteArray = new ByteArray();
      for (var y:int = Math.max(0, rect.y); y < Math.min(_height, rect.y + rect.height); ++y)
        for (var x:int = Math.max(0, rect.x); x < Math.min(_width, rect.x + rect.width); ++x)
          out.writeUnsignedInt(uint(_pixels[y * _width + x]));
      out.position = 0;
      return out;
    }

    /** Fills rect from ARGB words read at the position of input. */
    public function setPixels(rect:Rectangle, input:ByteArray):void {
      for (var y:int = Math.max(0, rect.y); y < Math.min(_height, rect.y + rect.height); ++y)
        for (var x:int = Math.max(0, rect.x); x < Math.min(_width, rect.x + rect.width); ++x)
          _pixels[y * _width + x] = opaque(input.readUnsignedInt());
    }

    public function dispose():void {
      _pixels = new Uint32Array(0);
      _width = 0;
      _height = 0;
    }

    /** For the runtime stand-in: the ARGB words, top row first (not a copy). */
    public function airPixels():Object {
      return _pixels;
    }

    /** For the runtime stand-in: a bitmap made by the extension. */
    public static function airFrom(width:int, height:int, transparent:Boolean, pixels:Object):BitmapData {
      var b:BitmapData = new BitmapData(Math.max(1, width), Math.max(1, height), transparent, 0);
      b._width = width;
      b._height = height;
      b._pixels = pixels;
      return b;
    }

    /** For the runtime stand-in: the pixels the extension wrote into this bitmap. */
    public function airAdopt(pixels:Object):void {
      if (uint(pixels["length"]) == uint(_pixels["length"])) _pixels["set"](pixels);
    }

    private function opaque(color:uint):uint {
      return _transparent ? color : (color | 0xFF000000) >>> 0;
    }

    private function inside(x:int, y:int):Boolean {
      return x >= 0 && y >= 0 && x < _width && y < _height;
    }
  }
}
