package com.airrtc.testing {
  import flash.display.BitmapData;
  import flash.external.ExtensionContext;
  import flash.utils.ByteArray;

  /**
   * Test-only control of the simulated SDK behind an extension, on this machine only: the same
   * commands that anehost's "sdk" lines forward (start the simulated room, fire callbacks, script
   * answers, push frames; see docs/standin-ilive.md and docs/standin-liteav.md) and the log of the calls the
   * extension made into the SDK. Not part of the library that ships in the extension package.
   *
   *   var sdk:SimulatedSdk = new SimulatedSdk(Brisora.EXTENSION_ID);
   *   sdk.command("room start");
   *   sdk.takeCalls();   // ["init(1400012345, 1, 0)", ...]
   *   brisora.fillExternalCaptureBitmapFrame(picture);
   *   sdk.receivedPicture("fillExternalCaptureFrame").bitmapData;   // what the SDK was handed
   *   SimulatedSdk.removeLibrary("LiteAV/liteav.dll");             // Tamvex finds no SDK library now
   */
  public class SimulatedSdk {
    private var _extensionId:String;

    public function SimulatedSdk(extensionId:String) {
      _extensionId = extensionId;
    }

    /**
     * One command line of the simulated SDK; a callback it fires has returned (and its events are
     * queued) when this returns. Throws an Error with the SDK's message when the line is not
     * understood.
     */
    public function command(line:String):void {
      var error:String = ExtensionContext.runtime()["sdkCommand"](_extensionId, line) as String;
      if (error) throw new Error("simulated SDK: " + line + ": " + error);
    }

    /** The calls the extension made into the SDK since the last take, one line each. */
    public function takeCalls():Array {
      return ExtensionContext.runtime()["sdkTakeCalls"](_extensionId) as Array;
    }

    /**
     * The bytes the extension's most recent call of the SDK operation handed the simulated SDK in
     * a buffer, as anehost's "sdk bytes" takes them (the iLive stand-in keeps those of
     * fillExternalCaptureFrame and sendCustomData). Throws an Error saying why when there are none.
     */
    public function received(operation:String):ByteArray {
      var r:Object = ExtensionContext.runtime()["sdkReceived"](_extensionId, operation);
      if (r is String) throw new Error("simulated SDK: received " + operation + ": " + r);
      var bytes:ByteArray = new ByteArray();
      bytes.airAdopt(r["bytes"]);
      return bytes;
    }

    /**
     * The video frame the extension's most recent call of the SDK operation handed the simulated
     * SDK (fillExternalCaptureFrame), as anehost's "sdk picture" shows it. Throws an Error saying
     * why when there is none, the call handed over no frame, or too few bytes for its size.
     */
    public function receivedPicture(operation:String):ReceivedPicture {
      var r:Object = ExtensionContext.runtime()["sdkReceivedPicture"](_extensionId, operation);
      if (r is String) throw new Error("simulated SDK: received picture " + operation + ": " + r);
      var bytes:ByteArray = new ByteArray();
      bytes.airAdopt(r["bgra"]);
      var width:int = int(r["width"]), height:int = int(r["height"]);
      return new ReceivedPicture(width, height, r["format"] as String, bytes,
                                 BitmapData.airFrom(width, height, false, r["pixels"]));
    }

    /**
     * From now on the extensions' LoadLibraryW finds no file at path (relative to the folder of
     * the node program, as "LiteAV/liteav.dll", or absolute), as if it had been deleted; with
     * exportName, GetProcAddress finds no such export in a library loaded from path. A library
     * already loaded stays loaded. As anehost's "library remove"; the Win32 stand-in's control.
     */
    public static function removeLibrary(path:String, exportName:String = ""):void {
      var error:String = ExtensionContext.runtime()["libraryRemove"](path, exportName == null ? "" : exportName) as String;
      if (error) throw new Error("Win32 stand-in: " + error);
    }

    /** Brings back what removeLibrary(path, exportName) took away. */
    public static function restoreLibrary(path:String, exportName:String = ""):void {
      var error:String = ExtensionContext.runtime()["libraryRestore"](path, exportName == null ? "" : exportName) as String;
      if (error) throw new Error("Win32 stand-in: " + error);
    }

    /** Brings back every library and export removed (the end of the program does too). */
    public static function restoreAllLibraries():void {
      ExtensionContext.runtime()["libraryRestoreAll"]();
    }

    /**
     * The Win32 calls the extensions made since the last take, one line each, as anehost's
     * "win32" lines show them: 'LoadLibraryW("liteav.dll") -> null 126'.
     */
    public static function takeWin32Calls():Array {
      return ExtensionContext.runtime()["win32TakeCalls"]() as Array;
    }

    /** The runtime rule breaches so far: {total, wrongThread, illegalState, invalidObject, invalidArgument, log}. */
    public static function breaches():Object {
      return ExtensionContext.runtime()["breaches"]();
    }

    /**
     * From now on what the process prints to its console (the extensions' console lines) is
     * captured, until releaseConsole. Output of the program itself is captured too: print nothing
     * in between.
     */
    public static function captureConsole():void {
      ExtensionContext.runtime()["captureConsole"]();
    }

    /** What was printed since captureConsole ("" when not capturing); it goes to the console too. */
    public static function releaseConsole():String {
      return ExtensionContext.runtime()["releaseConsole"]() as String;
    }

    /** How new bitmaps store their rows (bottom row first when invertedY), as on some platforms. */
    public static function setBitmapLayout(invertedY:Boolean, extraWordsPerRow:int = 0):void {
      ExtensionContext.runtime()["setBitmapLayout"](invertedY, extraWordsPerRow);
    }
  }
}
