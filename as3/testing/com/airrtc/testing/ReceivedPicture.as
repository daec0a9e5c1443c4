package com.airrtc.testing {
  import flash.display.BitmapData;
  import flash.utils.ByteArray;

  /**
   * The video frame an extension handed the simulated SDK (SimulatedSdk.receivedPicture), as
   * anehost's "sdk picture" shows it: the frame's first row at the top, I420 turned into RGB.
   */
  public class ReceivedPicture {
    /** The frame's size in pixels. */
    public var width:int;
    public var height:int;
    /** How the SDK was given the pixels: "BGR24" (3 bytes a pixel) or "I420". */
    public var format:String;
    /** width × height × 4 bytes, blue, green, red, alpha (255) a pixel, as getVideoData fills a ByteArray. */
    public var bytes:ByteArray;
    /** The same pixels as an opaque BitmapData. */
    public var bitmapData:BitmapData;

    public function ReceivedPicture(width:int, height:int, format:String, bytes:ByteArray, bitmapData:BitmapData) {
      this.width = width;
      this.height = height;
      this.format = format;
      this.bytes = bytes;
      this.bitmapData = bitmapData;
    }
  }
}
