package {
  import com.airrtc.Brisora;
  import com.airrtc.BrisoraEvent;
  import com.airrtc.Tamvex;
  import com.airrtc.TamvexEvent;
  import com.airrtc.testing.SimulatedSdk;
  import flash.display.BitmapData;
  import flash.errors.EOFError;
  import flash.events.StatusEvent;
  import flash.external.ExtensionContext;
  import flash.utils.ByteArray;
  import flash.utils.Endian;

  /**
   * ActionScript tests of the library, the flash.* stand-ins and both extensions on the simulated
   * SDKs. With --with-deliberate-failure one more test holds a wrong expectation (the test command
   * shows that it makes the run fail).
   */
  public class TestsMain {
    private var ilive:SimulatedSdk = new SimulatedSdk(Brisora.EXTENSION_ID);
    private var liteav:SimulatedSdk = new SimulatedSdk(Tamvex.EXTENSION_ID);

    public function TestsMain() {
      if (process.argv.indexOf("--child-forgets-its-contexts") >= 0) {
        forgetContexts();
        return;
      }
      var runner:TestRunner = new TestRunner();
      runner.add("the library has a typed method for every function and a constant for every event code", everyFunction);
      runner.add("int, uint, String, Boolean and null keep their meaning both ways", scalarValues);
      runner.add("a frame comes into a ByteArray and a BitmapData, top row first, in either bitmap layout", frames);
      runner.add("Tamvex stores a BGRA frame whose bytes reach the ByteArray unchanged", tamvexFrame);
      runner.add("status events arrive after the call, through the event loop", eventsAfterTheCall);
      runner.add("dispose runs the context finalizer and later events are dropped", disposeRunsTheFinalizer);
      runner.add("a context nobody references is finalized by the garbage collector, one still referenced hears its events",
                 droppedContextsAreCollected);
      runner.add("a program that forgets its contexts ends by itself once the garbage collector ran",
                 programWithForgottenContextsEnds);
      runner.add("unknown extensions and SDK commands are refused", refusals);
      runner.add("the ByteArray stand-in reads and writes as AIR's does", byteArray);
      TypedLibraryTests.addTo(runner);
      KitTests.addTo(runner);
      if (process.argv.indexOf("--with-deliberate-failure") >= 0)
        runner.add("a deliberately wrong expectation", function(t:Test):void {
          t.equal(Brisora.FUNCTION_COUNT, 67, "Brisora's function count");
          t.done();
        });
      runner.add("no rule of the runtime was broken", function(t:Test):void {
        var b:Object = SimulatedSdk.breaches();
        t.equal(int(b["total"]), 0, "breaches (" + (b["log"] as Array).join("; ") + ")");
        t.done();
      });
      runner.run();
    }

    private function everyFunction(t:Test):void {
      var brisora:Brisora = new Brisora();
      var tamvex:Tamvex = new Tamvex();
      var names:Array = brisora.context.functionNames;
      t.equal(names.length, 68, "Brisora's functions");
      t.equal(Brisora.FUNCTION_COUNT, 68, "Brisora.FUNCTION_COUNT");
      for each (var n:String in names) t.expect(brisora[n] is Function, "Brisora." + n);
      names = tamvex.context.functionNames;
      t.equal(names.length, 85, "Tamvex's functions");
      for each (n in names) t.expect(tamvex[n] is Function, "Tamvex." + n);
      t.equal(BrisoraEvent.CODES.length + TamvexEvent.CODES.length, 21, "event codes");
      t.equal(BrisoraEvent.ILIVESDK_ERROR, "ilivesdk_error", "BrisoraEvent.ILIVESDK_ERROR");
      t.equal(TamvexEvent.SPEEDTESTEVENT, "speedtestevent", "TamvexEvent.SPEEDTESTEVENT");
      brisora.disposeContext();
      tamvex.disposeContext();
      t.done();
    }

    private function scalarValues(t:Test):void {
      ilive.command("reset");
      var brisora:Brisora = new Brisora();
      t.equal(brisora.isInited(), false, "isInited before start-up");
      t.equal(brisora.initILiveSdk(1400012345, 7, 0, 0), true, "initILiveSdk");
      brisora.createRoom(uint(4294967295), "m\u00e9", "", false, true, false);
      var calls:String = ilive.takeCalls().join("\n");
      t.expect(calls.indexOf('createRoom({1, 4294967295, 1, "", true, -1, "m\u00e9", "",') >= 0,
               "a uint above the int range and a non-ASCII text reach the SDK: " + calls);
      ilive.command("throw getMicVolume");
      t.equal(brisora.getMicVolume(), uint(4294967295), "getMicVolume when the SDK throws");
      ilive.command('answer getVersion text="v\\xC3\\xBC 1"');
      t.equal(brisora.getSdkVersion(), "v\u00fc 1", "the version text");
      ilive.command("answer getCameraList code=1");
      t.equal(brisora.getCameraNames(), null, "camera names when the listing fails");
      t.equal(brisora.context.call("iLiveLoginOut"), null, "iLiveLoginOut answers null");
      brisora.disposeContext();

      var tamvex:Tamvex = new Tamvex();
      t.equal(tamvex.initTRTCSdk(false), true, "initTRTCSdk");
      t.equal(tamvex.TXLivePusher_micVolume(99), -1, "the volume of a pusher that does not exist");
      var pusher:int = tamvex.TXLivePusher_createTXLivePusher();
      t.expect(pusher >= 0, "a pusher handle: " + pusher);
      t.equal(tamvex.TXLivePusher_destroyTXLivePusher(pusher), uint(1), "the length of the pusher list");
      tamvex.disposeContext();
      t.done();
    }

    private function frames(t:Test):void {
      ilive.command("reset");
      ilive.command("auto-complete on");
      var brisora:Brisora = new Brisora();
      brisora.initILiveSdk(1400012345, 1, 0, 0);
      brisora.iLiveLogin("me", "sig", 2, "");
      t.waitFor(brisora, BrisoraEvent.ILIVELOGIN, function(e:BrisoraEvent):void {
        t.expect(e.succeeded, "logged in");
        brisora.createRoom(5, "me", "", false, false, false);
      });
      t.waitFor(brisora, BrisoraEvent.CREATEROOM, function(e:BrisoraEvent):void {
        ilive.command('frame local "me" 48x20 format=rgb24 tick=3');
      });
      t.waitFor(brisora, BrisoraEvent.VIDEO, function(e:BrisoraEvent):void {
        t.equal(e.level, "me||48||20||0||0||1", "the video level");
        var frame:ByteArray = new ByteArray();
        frame.writeUTFBytes("1234567");
        brisora.getVideoData(frame, "me", 1);
        t.equal(frame.length, uint(48 * 20 * 4), "frame bytes");
        t.equal(frame.position, uint(7), "the position is left as it was");
        var upright:BitmapData = brisora.getVideoBitmapData(null, "me", 1);
        SimulatedSdk.setBitmapLayout(true, 3);
        var inverted:BitmapData = brisora.getVideoBitmapData(null, "me", 1);
        SimulatedSdk.setBitmapLayout(false, 0);
        t.expect(upright != null && upright.width == 48 && upright.height == 20, "a 48x20 BitmapData");
        t.expect(inverted != null && inverted.width == 48, "a BitmapData with rows stored bottom first");
        frame.endian = Endian.LITTLE_ENDIAN;
        frame.position = 0;
        var same:Boolean = true;
        for (var y:int = 0; y < 20; ++y)
          for (var x:int = 0; x < 48; ++x) {
            var argb:uint = frame.readUnsignedInt();
            if (upright.getPixel32(x, y) != argb || inverted.getPixel32(x, y) != argb) same = false;
          }
        t.expect(same, "the BitmapData pixels are the ByteArray's, row 0 on top");
        t.equal(upright.getPixel32(0, 10) >>> 24, uint(0xFF), "alpha");
        ilive.command("auto-complete off");
        brisora.disposeContext();
        t.done();
      });
    }

    private function tamvexFrame(t:Test):void {
      liteav.command("reset");
      var tamvex:Tamvex = new Tamvex();
      tamvex.initTRTCSdk(false);
      tamvex.enterRoom(1, 2, "me", "sig", "");
      t.equal(tamvex.setLocalVideoRenderCallback(3, 0, 1), true, "render callback");
      liteav.command("frame local 4x2 pattern=solid:112233");
      t.waitFor(tamvex, TamvexEvent.VIDEO, function(e:TamvexEvent):void {
        t.equal(e.level, "me||4||2||0||0||1", "the video level");
        var frame:ByteArray = new ByteArray();
        tamvex.getVideoData(frame, "me", 1);
        t.equal(frame.length, uint(32), "frame bytes");
        var bytes:Array = [];
        for (var i:int = 0; i < 4; ++i) bytes.push(frame.readUnsignedByte());
        t.equal(bytes.join(","), "51,34,17,255", "blue, green, red, alpha");
        tamvex.disposeContext();
        t.done();
      });
    }

    private function eventsAfterTheCall(t:Test):void {
      ilive.command("reset");
      var brisora:Brisora = new Brisora();
      brisora.initILiveSdk(1, 1, 0, 0);
      brisora.iLiveLogin("me", "sig", 1, "");
      var arrived:Boolean = false;
      brisora.addEventListener(BrisoraEvent.ILIVELOGIN, function(e:BrisoraEvent):void { arrived = true; });
      ilive.command("login-result error 7 \"no\"");
      t.expect(!arrived, "no event during the call that raised it");
      t.waitFor(brisora, BrisoraEvent.ILIVELOGIN, function(e:BrisoraEvent):void {
        t.expect(arrived, "the first listener heard it too");
        t.equal(e.level, "error", "the level");
        t.equal(e.fields.length, 1, "one field");
        brisora.disposeContext();
        t.done();
      });
    }

    private function disposeRunsTheFinalizer(t:Test):void {
      ilive.command("reset");
      var context:ExtensionContext = ExtensionContext.createExtensionContext(Brisora.EXTENSION_ID, "");
      context.call("initILiveSdk", 1, 1, 0, 0);
      context.call("iLiveLogin", "me", "sig", 1, "");
      var heard:int = 0;
      context.addEventListener(StatusEvent.STATUS, function(e:StatusEvent):void { ++heard; });
      ilive.takeCalls();
      context.dispose();
      t.expect(ilive.takeCalls().indexOf("releaseSdk(null, null, null)") >= 0, "the finalizer released the SDK");
      var refused:Boolean = false;
      try {
        context.call("isLogin");
      } catch (e:Error) {
        refused = true;
      }
      t.expect(refused, "a call after dispose throws");
      // The remote-video handler stays with the SDK; its error event goes to a disposed context.
      try {
        ilive.command('frame remote "sim-user-1" 32x16 format=rgb24');
      } catch (e:Error) {
      }
      setTimeout(function():void {
        t.equal(heard, 0, "events after dispose");
        t.done();
      }, 300);
    }

    private function droppedContextsAreCollected(t:Test):void {
      var gc:Function = garbageCollector();
      if (gc == null) {
        t.fail("node runs without --expose-gc: the garbage collector cannot be run");
        t.done();
        return;
      }
      ilive.command("reset");
      liteav.command("reset");
      var kept:Tamvex = new Tamvex();
      kept.initTRTCSdk(false);
      var heard:Object = {"events": 0};
      forgetABrisora(heard);
      SimulatedSdk.captureConsole();
      // On a fresh stack, before the event loop could deliver the forgotten context's event.
      process["nextTick"](function():void {
        gc();
        // Node may run the finalizers of collected objects a little later.
        setTimeout(function():void {
          var printed:String = SimulatedSdk.releaseConsole();
          t.guard(function(unused:Object):void { afterTheCollection(t, kept, heard, printed); });
        }, 100);
      });
    }

    private function afterTheCollection(t:Test, kept:Tamvex, heard:Object, printed:String):void {
      t.equal(occurrences(printed, "Brisora:,BrisoraContextFinalizer"), 1, "context finalizer lines of the forgotten Brisora");
      t.equal(occurrences(printed, "TamvexContextFinalizer"), 0, "context finalizer lines of the kept Tamvex");
      t.equal(heard["events"], 0, "events heard by the forgotten context's listener");
      // Events for the collected context are refused by the runtime; nothing hears them.
      ilive.command("login-result error 8 \"again\"");
      liteav.command("enter-room 120");
      t.waitFor(kept, TamvexEvent.ENTERROOM, function(e:TamvexEvent):void {
        t.equal(e.level, "complete", "the kept context's event");
        SimulatedSdk.captureConsole();
        kept.disposeContext();
        t.equal(occurrences(SimulatedSdk.releaseConsole(), "TamvexContextFinalizer"), 1,
                "disposing the kept context runs its finalizer");
        setTimeout(function():void {
          t.equal(heard["events"], 0, "events heard by the forgotten context's listener at the end");
          t.done();
        }, 50);
      });
    }

    /** A Brisora an application made, listened to and forgot, with an event on its way to it. */
    private function forgetABrisora(heard:Object):void {
      var brisora:Brisora = new Brisora();
      brisora.initILiveSdk(1, 1, 0, 0);
      brisora.iLiveLogin("me", "sig", 1, "");
      brisora.addEventListener(BrisoraEvent.ILIVELOGIN, function(e:BrisoraEvent):void { ++heard["events"]; });
      ilive.command("login-result error 7 \"no\"");
    }

    private function programWithForgottenContextsEnds(t:Test):void {
      var child:Object = require("child_process")["spawnSync"](
          process["execPath"], ["--expose-gc", process.argv[1], "--child-forgets-its-contexts"],
          {"encoding": "utf8", "timeout": 8000});
      var printed:String = String(child["stdout"]) + String(child["stderr"]);
      t.equal(child["status"], 0, "the exit status of the program (signal " + child["signal"] + "): " + printed);
      t.equal(occurrences(printed, "Brisora:,BrisoraContextFinalizer"), 1, "the forgotten Brisora's finalizer line");
      t.equal(occurrences(printed, "Tamvex:,TamvexContextFinalizer"), 1, "the unlistened Tamvex's finalizer line");
      t.done();
    }

    /**
     * The program of programWithForgottenContextsEnds: a Tamvex context nobody listens to, alive
     * until the end, and a Brisora listened to and forgotten; the garbage collector runs once.
     */
    private function forgetContexts():void {
      var tamvex:ExtensionContext = ExtensionContext.createExtensionContext(Tamvex.EXTENSION_ID, "");
      forgetABrisora({"events": 0});
      setTimeout(function():void {
        garbageCollector()();
        console.log("the garbage collector ran; a context still here: " + (tamvex != null));
      }, 0);
    }

    /** Node's gc() (node --expose-gc), or null. */
    private static function garbageCollector():Function {
      return require("vm")["runInThisContext"]("typeof gc === 'function' ? gc : null") as Function;
    }

    private static function occurrences(text:String, what:String):int {
      return text.split(what).length - 1;
    }

    private function refusals(t:Test):void {
      t.equal(ExtensionContext.createExtensionContext("com.example.Nothing", ""), null, "an unknown id");
      var threw:Boolean = false;
      try {
        ilive.command("no-such-command 1");
      } catch (e:Error) {
        threw = e.message.indexOf("no-such-command") >= 0;
      }
      t.expect(threw, "an unknown SDK command throws, naming it");
      t.done();
    }

    private function byteArray(t:Test):void {
      var b:ByteArray = new ByteArray();
      b.writeInt(-2);
      b.endian = Endian.LITTLE_ENDIAN;
      b.writeUnsignedInt(0x01020304);
      b.writeUTFBytes("\u00e9");
      t.equal(b.length, uint(10), "length");
      t.equal(b.byteAt(4), uint(4), "little-endian low byte first");
      b.position = 0;
      b.endian = Endian.BIG_ENDIAN;
      t.equal(b.readInt(), -2, "readInt");
      b.position = 8;
      t.equal(b.readUTFBytes(2), "\u00e9", "readUTFBytes");
      var id:int = 0;
      try {
        b.readByte();
      } catch (e:EOFError) {
        id = e.errorID;
      }
      t.equal(id, 2030, "reading past the end");
      b.length = 12;
      t.equal(b.byteAt(11), uint(0), "grown with zeros");
      var copy:ByteArray = new ByteArray();
      copy.writeBytes(b);
      copy.compress();
      t.expect(copy.length != 12, "compressed");
      copy.uncompress();
      t.equal(copy.length, uint(12), "uncompressed length");
      t.equal(copy.byteAt(4), uint(4), "uncompressed bytes");
      t.done();
    }
  }
}
