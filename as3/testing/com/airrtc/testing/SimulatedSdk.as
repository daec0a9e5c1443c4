package com.airrtc.testing {
  import flash.external.ExtensionContext;

  /**
   * Test-only control of the simulated SDK behind an extension, on this machine only: the same
   * commands that anehost's "sdk" lines forward (start the simulated room, fire callbacks, script
   * answers, push frames; see docs/standin-ilive.md and docs/standin-liteav.md) and the log of the calls the
   * extension made into the SDK. Not part of the library that ships in the extension package.
   *
   *   var sdk:SimulatedSdk = new SimulatedSdk(Brisora.EXTENSION_ID);
   *   sdk.command("room start");
   *   sdk.takeCalls();   // ["init(1400012345, 1, 0)", ...]
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
