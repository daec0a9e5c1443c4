package flash.geom {
  /** Stand-in for flash.geom.Rectangle (what BitmapData's pixel methods take). */
  public class Rectangle {
    public var x:Number;
    public var y:Number;
    public var width:Number;
    public var height:Number;

    public function Rectangle(x:Number = 0, y:Number = 0, width:Number = 0, height:Number = 0) {
      this.x = x;
      this.y = y;
      this.width = width;
      this.height = height;
    }
  }
}
