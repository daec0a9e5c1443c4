package {
  import com.airrtc.Brisora;
  import com.airrtc.Tamvex;
  import com.airrtc.testing.ReceivedPicture;
  import com.airrtc.testing.SimulatedSdk;
  import flash.display.BitmapData;
  import flash.errors.IllegalOperationError;
  import flash.external.ExtensionContext;
  import flash.utils.ByteArray;

  /**
   * Tests of the test kit itself: the ExtensionContext stand-in's refusals, what SimulatedSdk reads
   * of the buffers an extension handed the SDK, and the libraries and exports it takes away.
   */
  public class KitTests {
    private static var ilive:SimulatedSdk = new SimulatedSdk(Brisora.EXTENSION_ID);
    private static var liteav:SimulatedSdk = new SimulatedSdk(Tamvex.EXTENSION_ID);

    public static function addTo(runner:TestRunner):void {
      runner.add("call throws AIR's errors for a name the extension lacks and after dispose, and calls nothing",
                 callRefusals);
      runner.add("the errors of the flash stand-ins carry AIR's message and errorID", errorStandIns);
      runner.add("SimulatedSdk reads the bytes and the picture an external-capture call handed the SDK", received);
      runner.add("SimulatedSdk removes and restores liteav.dll and one of its exports; Tamvex's answers meanwhile",
                 missingLibrary);
    }

    /** What fn throws: {name, errorID, message}, or null when it returns. */
    private static function thrown(fn:Function):Object {
      try {
        fn();
      } catch (e:Error) {
        return {"name": e.name, "errorID": e["errorID"], "message": e.message, "error": e};
      }
      return null;
    }

    private static function isA(thrownError:Object, type:Class):Boolean {
      return thrownError != null && thrownError["error"] is type;
    }

    private static function expectThrown(t:Test, fn:Function, name:String, id:int, message:String, what:String):void {
      var e:Object = thrown(fn);
      if (e == null) {
        t.fail(what + ": nothing was thrown");
        return;
      }
      t.equal(e["name"], name, what + ": the error class");
      t.equal(e["errorID"], id, what + ": errorID");
      t.equal(e["message"], message, what + ": the message");
    }

    private static function callRefusals(t:Test):void {
      ilive.command("reset");
      var context:ExtensionContext = ExtensionContext.createExtensionContext(Brisora.EXTENSION_ID, "");
      ilive.takeCalls();
      var noSuch:String = "Error #3500: The extension context does not have a method with the name ";
      expectThrown(t, function():void { context.call("noSuchFunction", 1, "a"); }, "ArgumentError", 3500,
                   noSuch + "noSuchFunction.", "a name the table does not have");
      t.expect(isA(thrown(function():void { context.call("noSuchFunction"); }), ArgumentError),
               "the error is an ArgumentError");
      // Names match exactly, as in AIR.
      expectThrown(t, function():void { context.call("ISINITED"); }, "ArgumentError", 3500, noSuch + "ISINITED.",
                   "a name in other letter case");
      expectThrown(t, function():void { context.call(""); }, "ArgumentError", 3500, noSuch + ".", "an empty name");
      expectThrown(t, function():void { context.call(null); }, "ArgumentError", 2007,
                   "Error #2007: Parameter functionName must be non-null.", "a null name");
      t.equal(ilive.takeCalls().length, 0, "SDK calls made by the refused calls");
      t.equal(context.call("isInited"), false, "a call by a right name still works after refusals");

      ilive.takeCalls();
      var tamvex:ExtensionContext = ExtensionContext.createExtensionContext(Tamvex.EXTENSION_ID, "");
      expectThrown(t, function():void { tamvex.call("initILiveSdk", 1, 1, 0, 0); }, "ArgumentError", 3500,
                   noSuch + "initILiveSdk.", "a Brisora function called on Tamvex");
      tamvex.dispose();

      context.dispose();
      var disposed:String = "Error #3501: The extension context has already been disposed.";
      expectThrown(t, function():void { context.call("isInited"); }, "IllegalOperationError", 3501, disposed,
                   "a call after dispose");
      t.expect(isA(thrown(function():void { context.call("isInited"); }), IllegalOperationError),
               "the error is an IllegalOperationError");
      expectThrown(t, function():void { context.call("noSuchFunction"); }, "IllegalOperationError", 3501, disposed,
                   "an unknown name after dispose");
      t.equal(thrown(function():void { context.dispose(); }), null, "a second dispose");
      t.equal(context.functionNames.length, 0, "function names after dispose");
      t.equal(ilive.takeCalls().join("; "), "releaseSdk(null, null, null)", "the SDK calls after dispose: the finalizer's");
      t.done();
    }

    private static function errorStandIns(t:Test):void {
      var bytes:ByteArray = new ByteArray();
      expectThrown(t, function():void { bytes.readInt(); }, "EOFError", 2030, "Error #2030: End of file was encountered.",
                   "reading past the end");
      expectThrown(t, function():void { bytes.endian = "middleEndian"; }, "ArgumentError", 2008,
                   "Error #2008: Parameter endian must be one of the accepted values.", "an unknown endian");
      bytes.writeUTFBytes("not zlib");
      expectThrown(t, function():void { bytes.uncompress(); }, "IOError", 2058,
                   "Error #2058: There was an error decompressing the data.", "uncompressing what is not compressed");
      expectThrown(t, function():void { new BitmapData(0, 5); }, "ArgumentError", 2015, "Error #2015: Invalid BitmapData.",
                   "a BitmapData without pixels");
      expectThrown(t, function():void { ExtensionContext.createExtensionContext(null, ""); }, "ArgumentError", 2007,
                   "Error #2007: Parameter extensionID must be non-null.", "a null extension id");
      expectThrown(t, function():void { new ExtensionContext(); }, "ArgumentError", 2012,
                   "Error #2012: ExtensionContext class cannot be instantiated.", "new ExtensionContext()");
      t.done();
    }

    private static function received(t:Test):void {
      ilive.command("reset");
      var brisora:Brisora = new Brisora();
      try {
        receivedBuffers(t, brisora);
      } finally {
        brisora.disposeContext();
        ilive.command("reset");
      }
      t.done();
    }

    private static function receivedBuffers(t:Test, brisora:Brisora):void {
      brisora.initILiveSdk(1400012345, 1, 0, 0);
      var nothing:Object = thrown(function():void { ilive.received("fillExternalCaptureFrame"); });
      t.expect(nothing != null && String(nothing["message"]).indexOf("fillExternalCaptureFrame") >= 0,
               "bytes of an operation not called yet throw, naming it: " + (nothing ? nothing["message"] : "nothing"));

      // A 3 x 2 frame of 4-byte pixels: the SDK is handed 3 bytes a pixel, blue, green, red.
      var pixels:ByteArray = new ByteArray();
      var colours:Array = [0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x0A0B0C];
      for each (var c:uint in colours) {
        pixels.writeByte(c & 0xFF);
        pixels.writeByte((c >> 8) & 0xFF);
        pixels.writeByte((c >> 16) & 0xFF);
        pixels.writeByte(0x7F);
      }
      t.equal(brisora.fillExternalCaptureByteFrame(pixels, 3, 2), true, "fillExternalCaptureByteFrame");
      var calls:String = ilive.takeCalls().join("\n");
      t.expect(calls.indexOf("fillExternalCaptureFrame({") >= 0 && calls.indexOf("<18 bytes>") >= 0,
               "the call log shows only the size of the buffer: " + calls);
      var bytes:ByteArray = ilive.received("fillExternalCaptureFrame");
      var seen:Array = [];
      for (var i:int = 0; i < int(bytes.length); ++i) seen.push(bytes.byteAt(i));
      t.equal(seen.join(","), "48,32,16,96,80,64,144,128,112,192,176,160,240,224,208,12,11,10",
              "the bytes the SDK was handed");
      var picture:ReceivedPicture = ilive.receivedPicture("fillExternalCaptureFrame");
      t.equal(picture.width, 3, "the picture's width");
      t.equal(picture.height, 2, "the picture's height");
      t.equal(picture.format, "BGR24", "the frame's format");
      t.equal(picture.bytes.length, uint(3 * 2 * 4), "the picture's BGRA bytes");
      var bgra:Array = [];
      for (i = 0; i < 8; ++i) bgra.push(picture.bytes.byteAt(i));
      t.equal(bgra.join(","), "48,32,16,255,96,80,64,255", "the first two pixels as B, G, R, A (opaque)");
      var bitmap:BitmapData = picture.bitmapData;
      t.equal(bitmap.width * 10 + bitmap.height, 32, "the BitmapData's size (width × 10 + height)");
      t.equal(bitmap.getPixel32(0, 0), uint(0xFF102030), "the top left pixel");
      t.equal(bitmap.getPixel32(2, 1), uint(0xFF0A0B0C), "the bottom right pixel");
      t.equal(bitmap.transparent, false, "the picture is opaque");

      // A BitmapData goes onto a black 1280 x 720 canvas: both views of the frame agree everywhere.
      var face:BitmapData = new BitmapData(4, 2, false, 0xFFE01010);
      t.equal(brisora.fillExternalCaptureBitmapFrame(face), true, "fillExternalCaptureBitmapFrame");
      var canvas:ReceivedPicture = ilive.receivedPicture("fillExternalCaptureFrame");
      t.equal(canvas.width * 10000 + canvas.height, 1280 * 10000 + 720, "the canvas size (width × 10000 + height)");
      t.equal(ilive.received("fillExternalCaptureFrame").length, uint(1280 * 720 * 3), "the canvas bytes");
      var red:int = 0, disagree:int = 0;
      canvas.bytes.position = 0;
      canvas.bytes.endian = "littleEndian";
      for (var y:int = 0; y < 720; ++y)
        for (var x:int = 0; x < 1280; ++x) {
          var argb:uint = canvas.bitmapData.getPixel32(x, y);
          if (canvas.bytes.readUnsignedInt() != argb) ++disagree;
          if (argb == 0xFFE01010) ++red;
          else if (argb != 0xFF000000) ++disagree;
        }
      t.equal(red, 8, "pixels of the face on the canvas");
      t.equal(disagree, 0, "pixels where the bytes and the BitmapData differ, or neither face nor black");

      // Custom data: bytes, and no picture.
      t.equal(brisora.fillCustomData("hello", 1), true, "fillCustomData");
      t.equal(ilive.received("sendCustomData").readUTFBytes(5), "hello", "the custom data the SDK was handed");
      var noFrame:Object = thrown(function():void { ilive.receivedPicture("sendCustomData"); });
      t.expect(noFrame != null && String(noFrame["message"]).indexOf("hands over no video frame") >= 0,
               "the picture of custom data throws: " + (noFrame ? noFrame["message"] : "nothing"));
      var lite:Object = thrown(function():void { liteav.received("fillExternalCaptureFrame"); });
      t.expect(lite != null && String(lite["message"]).indexOf("keeps no buffers") >= 0,
               "the LiteAV stand-in keeps no buffers, and says so: " + (lite ? lite["message"] : "nothing"));
    }

    private static function missingLibrary(t:Test):void {
      liteav.command("reset");
      var tamvex:Tamvex = new Tamvex();
      SimulatedSdk.takeWin32Calls();
      try {
        SimulatedSdk.removeLibrary("LiteAV/liteav.dll");
        SimulatedSdk.captureConsole();
        var version:String = tamvex.getSdkVersion();
        t.expect(!version, "no version text without liteav.dll: " + version);
        var printed:String = SimulatedSdk.releaseConsole();
        t.expect(printed.indexOf("liteav.dll") >= 0 && printed.indexOf(": 126") >= 0,
                 "the console says the library did not load (126): " + JSON.stringify(printed));
        var win32:Array = SimulatedSdk.takeWin32Calls();
        t.expect(win32.indexOf('LoadLibraryW("liteav.dll") -> null 126') >= 0,
                 "LoadLibraryW finds no liteav.dll: " + win32.join("; "));
        t.equal(liteav.takeCalls().length, 0, "SDK calls without the library");

        SimulatedSdk.restoreLibrary("LiteAV/liteav.dll");
        SimulatedSdk.removeLibrary("LiteAV/liteav.dll", "getTRTCShareInstance");
        version = tamvex.getSdkVersion();
        t.expect(!version, "no version text without getTRTCShareInstance: " + version);
        win32 = SimulatedSdk.takeWin32Calls();
        t.expect(win32.indexOf('LoadLibraryW("liteav.dll") -> "<exe>/LiteAV/liteav.dll"') >= 0,
                 "the library loads: " + win32.join("; "));
        t.expect(win32.indexOf('GetProcAddress("<exe>/LiteAV/liteav.dll", "getTRTCShareInstance") -> null 127') >= 0,
                 "the export is not found: " + win32.join("; "));
        t.expect(win32.indexOf('GetProcAddress("<exe>/LiteAV/liteav.dll", "destroyTRTCShareInstance") -> found') >= 0,
                 "the other export is found: " + win32.join("; "));
        t.equal(liteav.takeCalls().length, 0, "SDK calls without the entry point");

        SimulatedSdk.restoreLibrary("LiteAV/liteav.dll", "getTRTCShareInstance");
        liteav.command('answer getSDKVersion text="9.9.9"');
        t.equal(tamvex.getSdkVersion(), "9.9.9", "the version once the export is back");
        t.expect(liteav.takeCalls().indexOf("getTRTCShareInstance()") >= 0, "the SDK is reached again");

        // The context finalizer lets go of the SDK; the next context loads it again.
        SimulatedSdk.removeLibrary("LiteAV/liteav.dll");
        SimulatedSdk.removeLibrary("LiteAV/liteav.dll", "destroyTRTCShareInstance");
        SimulatedSdk.restoreAllLibraries();
        tamvex.disposeContext();
        tamvex = new Tamvex();
        SimulatedSdk.takeWin32Calls();
        t.equal(tamvex.getSdkVersion(), "9.9.9", "the version after restoreAllLibraries, in a new context");
        win32 = SimulatedSdk.takeWin32Calls();
        t.expect(win32.indexOf('LoadLibraryW("liteav.dll") -> "<exe>/LiteAV/liteav.dll"') >= 0 &&
                 win32.indexOf('GetProcAddress("<exe>/LiteAV/liteav.dll", "destroyTRTCShareInstance") -> found') >= 0,
                 "the library and both exports are found again: " + win32.join("; "));
        t.expect(thrown(function():void { SimulatedSdk.removeLibrary(""); }) != null, "an empty path is refused");
      } finally {
        SimulatedSdk.restoreAllLibraries();
        tamvex.disposeContext();
        liteav.command("reset");
      }
      t.done();
    }
  }
}
