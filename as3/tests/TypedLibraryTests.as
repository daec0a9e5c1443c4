package {
  import com.airrtc.AudioKind;
  import com.airrtc.Brisora;
  import com.airrtc.BrisoraEvent;
  import com.airrtc.QualityRecord;
  import com.airrtc.QualityReport;
  import com.airrtc.RenderBufferType;
  import com.airrtc.RenderCallbackSwitch;
  import com.airrtc.RenderPixelFormat;
  import com.airrtc.ScreenCaptureSource;
  import com.airrtc.ScreenSourceType;
  import com.airrtc.SourceKind;
  import com.airrtc.StreamCode;
  import com.airrtc.Tamvex;
  import com.airrtc.TamvexEvent;
  import com.airrtc.testing.SimulatedSdk;
  import flash.utils.ByteArray;

  /**
   * ActionScript tests of the typed side of the library: event getters, the classes of named
   * codes, list helpers, the quality report and the Error after disposeContext().
   */
  public class TypedLibraryTests {
    private var ilive:SimulatedSdk = new SimulatedSdk(Brisora.EXTENSION_ID);
    private var liteav:SimulatedSdk = new SimulatedSdk(Tamvex.EXTENSION_ID);

    public static function addTo(runner:TestRunner):void {
      var tests:TypedLibraryTests = new TypedLibraryTests();
      runner.add("typed event getters read a Brisora frame's fields, and a neutral value where an event has none",
                 tests.brisoraEventFields);
      runner.add("typed event getters read Tamvex's events: a Boolean from 1/0, a code set's field as an int",
                 tests.tamvexEventFields);
      runner.add("typed event getters answer soundly for short, empty and hostile levels", tests.hostileLevels);
      runner.add("code classes hold the extensions' numbers and name them", tests.codeClasses);
      runner.add("list helpers give the listed names, an empty Vector for a null or empty answer", tests.stringLists);
      runner.add("a list of records reads its fields, and a name holding the field separator whole", tests.recordLists);
      runner.add("the quality report of a qualityparam event reads into records, lists and numbers", tests.qualityReport);
      runner.add("a quality report with empty lists, and text of other shapes, reads soundly", tests.oddQualityReports);
      runner.add("a call after disposeContext throws an Error that says the context was disposed", tests.afterDispose);
    }

    // A Brisora logged in and in a room (the simulated SDK completes both by itself).
    private function brisoraInRoom(t:Test, then:Function):Brisora {
      ilive.command("reset");
      ilive.command("auto-complete on");
      var brisora:Brisora = new Brisora();
      brisora.initILiveSdk(1400012345, 1, 0, 0);
      brisora.iLiveLogin("me", "sig", 2, "");
      t.waitFor(brisora, BrisoraEvent.ILIVELOGIN, function(e:BrisoraEvent):void {
        brisora.createRoom(5, "LiveMaster", "", false, false, false);
      });
      t.waitFor(brisora, BrisoraEvent.CREATEROOM, function(e:BrisoraEvent):void {
        ilive.command("auto-complete off");
        then(brisora);
      });
      return brisora;
    }

    private function brisoraEventFields(t:Test):void {
      brisoraInRoom(t, function(brisora:Brisora):void {
        t.waitFor(brisora, BrisoraEvent.ADDVIDEO, function(e:BrisoraEvent):void {
          t.equal(e.userId, "sim-user-1", "addvideo userId");
          t.equal(e.kind, SourceKind.CAMERA, "addvideo kind");
          t.equal(e.width, 0, "addvideo has no width");
        });
        ilive.command('member 3 "sim-user-1"');
        ilive.command('frame local "me" 48x20 format=rgb24 tick=3');
        t.waitFor(brisora, BrisoraEvent.VIDEO, function(e:BrisoraEvent):void {
          t.equal(e.userId, "me", "userId");
          t.equal(e.width, 48, "width");
          t.equal(e.height, 20, "height");
          t.equal(e.kind, SourceKind.CAMERA, "kind");
          t.equal(e.flag, false, "flag");
          t.equal(e.value, 0, "value");
          t.equal(e.fields.join("|"), "me|48|20|0|0|1", "fields stay the level cut at ||");
          var frame:ByteArray = new ByteArray();
          brisora.getVideoData(frame, e.userId, e.kind);
          t.equal(frame.length, uint(e.width * e.height * 4), "the frame the typed fields name");
          t.equal(e.audioLevel, 0, "a video event has no audio level");
          t.equal(e.message, "", "a video event has no message");
          t.equal(e.quality, null, "a video event has no quality report");
          brisora.getVideoData(frame, "nobody", SourceKind.SCREEN);
        });
        t.waitFor(brisora, BrisoraEvent.ILIVESDK_ERROR, function(e:BrisoraEvent):void {
          t.equal(e.userId, "nobody", "ilivesdk_error userId");
          t.equal(e.kind, SourceKind.SCREEN, "ilivesdk_error kind");
          t.expect(e.message.length > 0, "ilivesdk_error message: " + e.level);
          brisora.registAudioDataCallback(AudioKind.LOCAL_BLOCK, false);
          ilive.command('audio 2 "me" count=6');  // a level every sixth frame
        });
        t.waitFor(brisora, BrisoraEvent.AUDIOEVENT, function(e:BrisoraEvent):void {
          t.equal(e.audioKind, AudioKind.LOCAL_BLOCK, "audioevent kind: " + e.level);
          t.equal(e.userId, "me", "audioevent userId");
          t.equal(e.kind, 0, "an audio event has no source kind");
          brisora.disposeContext();
          t.done();
        });
      });
    }

    private function tamvexEventFields(t:Test):void {
      liteav.command("reset");
      var tamvex:Tamvex = new Tamvex();
      tamvex.initTRTCSdk(false);
      tamvex.enterRoom(1, 2, "me", "sig", "");
      liteav.command('video-available "u1" 1');
      t.waitFor(tamvex, TamvexEvent.MEDIAAVAILABLE, function(e:TamvexEvent):void {
        t.equal(e.media, "video", "media");
        t.equal(e.userId, "u1", "userId");
        t.equal(e.available, true, "available from 1");
        t.equal(e.volume, 0, "no volume");
        liteav.command('video-available "u1" 0');
        t.waitFor(tamvex, TamvexEvent.MEDIAAVAILABLE, function(e:TamvexEvent):void {
          t.equal(e.available, false, "available from 0");
          t.equal(tamvex.setLocalVideoRenderCallback(RenderPixelFormat.BGRA32, RenderBufferType.BUFFER,
                                                     RenderCallbackSwitch.REGISTER), true, "render callback with named codes");
          liteav.command("frame local 4x2 pattern=solid:112233");
        });
      });
      t.waitFor(tamvex, TamvexEvent.VIDEO, function(e:TamvexEvent):void {
        t.equal(e.userId, "me", "video userId");
        t.equal(e.width, 4, "width");
        t.equal(e.height, 2, "height");
        t.equal(e.streamType, StreamCode.BIG, "streamType");
        t.equal(e.available, false, "a video event is not available-or-not");
        var frame:ByteArray = new ByteArray();
        tamvex.getVideoData(frame, e.userId, e.streamType);
        t.equal(frame.length, uint(32), "the frame the typed fields name");
        tamvex.disposeContext();
        t.done();
      });
    }

    private function hostileLevels(t:Test):void {
      var short:BrisoraEvent = new BrisoraEvent(BrisoraEvent.VIDEO, "u1||64");
      t.equal(short.userId, "u1", "userId of a short level");
      t.equal(short.width, 64, "width of a short level");
      t.equal(short.height, 0, "height the level lacks");
      t.equal(short.kind, 0, "kind the level lacks");
      var empty:BrisoraEvent = new BrisoraEvent(BrisoraEvent.VIDEO, null);
      t.equal(empty.userId, "", "userId of a null level");
      t.equal(empty.width, 0, "width of a null level");
      t.equal(empty.flag, false, "flag of a null level");
      var junk:BrisoraEvent = new BrisoraEvent(BrisoraEvent.VIDEO, "u||wide||-3||yes||x||9");
      t.equal(junk.width, 0, "a width that is no number");
      t.equal(junk.height, -3, "a negative height");
      t.equal(junk.flag, false, "a flag other than 1");
      t.expect(isNaN(junk.value), "a Number field that is no number is NaN");
      t.equal(junk.kind, 9, "a kind without a name is still its number");
      // The last text field takes the rest of the level: a message holding the separator.
      var error:BrisoraEvent = new BrisoraEvent(BrisoraEvent.ILIVESDK_ERROR, "u||1||no||renderer");
      t.equal(error.message, "no||renderer", "the message with its separator");
      t.equal(error.kind, SourceKind.CAMERA, "the kind before it");
      var copy:BrisoraEvent = error.clone() as BrisoraEvent;
      t.equal(copy.message, "no||renderer", "a clone reads the same");
      var other:TamvexEvent = new TamvexEvent("nosuchcode", "a||b||c");
      t.equal(other.userId, "", "an unknown code has no fields");
      t.equal(other.fields.length, 3, "but its raw fields");
      t.done();
    }

    private function codeClasses(t:Test):void {
      t.equal(SourceKind.CAMERA, 1, "SourceKind.CAMERA");
      t.equal(SourceKind.MEDIA_FILE, 3, "SourceKind.MEDIA_FILE");
      t.equal(SourceKind.nameOf(2), "SCREEN", "SourceKind.nameOf(2)");
      t.equal(SourceKind.nameOf(77), "", "a number without a name");
      t.equal(AudioKind.LOCAL_CAPTURE, 20, "AudioKind.LOCAL_CAPTURE");
      t.equal(StreamCode.SMALL, 10, "StreamCode.SMALL");
      t.equal(StreamCode.nameOf(StreamCode.SUB), "SUB", "StreamCode.nameOf(SUB)");
      t.equal(ScreenSourceType.WINDOW, 0, "ScreenSourceType.WINDOW");
      t.equal(RenderPixelFormat.I420, 1, "RenderPixelFormat.I420");
      t.equal(RenderPixelFormat.BGRA32, 3, "RenderPixelFormat.BGRA32");
      t.done();
    }

    private function stringLists(t:Test):void {
      ilive.command("reset");
      var brisora:Brisora = new Brisora();
      brisora.initILiveSdk(1, 1, 0, 0);
      t.equal(brisora.cameraNames().join("|"), "Stand-in Camera", "the default camera");
      ilive.command('answer getCameraList code=0 list="Cam A","Cam B",""');
      var names:Vector.<String> = brisora.cameraNames();
      t.equal(names.length, 3, "three cameras");
      t.equal(names.join("|"), "Cam A|Cam B|", "in order, an empty name kept");
      t.equal(brisora.getCameraNames(), "Cam A||Cam B||", "the raw method keeps its answer");
      ilive.command("answer getCameraList code=1");
      t.equal(brisora.getCameraNames(), null, "the raw answer of a failed listing");
      t.equal(brisora.cameraNames().length, 0, "a failed listing gives an empty Vector");
      ilive.command("answer getMicList code=0");
      t.equal(brisora.micNames().length, 0, "no microphone gives an empty Vector");
      brisora.disposeContext();

      liteav.command("reset");
      var tamvex:Tamvex = new Tamvex();
      tamvex.initTRTCSdk(false);
      liteav.command('answer getSpeakerDevicesList list="Left","Right"');
      t.equal(tamvex.speakerDevices().join("|"), "Left|Right", "two speakers");
      liteav.command("answer getCameraDevicesList null");
      t.equal(tamvex.cameraDevices().length, 0, "no collection: an empty Vector");
      var pusher:int = tamvex.TXLivePusher_createTXLivePusher();
      t.equal(tamvex.pusherMicDevices(pusher + 1).length, 0, "a pusher that does not exist: an empty Vector");
      t.equal(tamvex.pusherMicDevices(pusher).join("|"), "Stand-in Microphone", "the pusher's microphone");
      tamvex.disposeContext();
      t.done();
    }

    private function recordLists(t:Test):void {
      liteav.command("reset");
      var tamvex:Tamvex = new Tamvex();
      tamvex.initTRTCSdk(false);
      var sources:Vector.<ScreenCaptureSource> = tamvex.screenSources(32, 18, 16, 16);
      t.equal(sources.length, 2, "the two default sources");
      t.equal(sources[0].id, 65537, "id");
      t.equal(sources[0].type, ScreenSourceType.SCREEN, "type");
      t.equal(sources[0].name, "Screen 1", "name");
      t.equal(sources[1].type, ScreenSourceType.WINDOW, "the window's type");
      t.equal(sources[1].name, "Notes", "the window's name");
      liteav.command("sources clear");
      t.equal(tamvex.screenSources(32, 18, 16, 16).length, 0, "no source: an empty Vector");
      tamvex.disposeContext();
      // An item read from text: the name keeps a separator it holds; a short item keeps neutral values.
      var odd:ScreenCaptureSource = new ScreenCaptureSource("7|-|1|-|a|-|b");
      t.equal(odd.name, "a|-|b", "a name holding the field separator");
      var short:ScreenCaptureSource = new ScreenCaptureSource("12");
      t.equal(short.id, 12, "the id of a short item");
      t.equal(short.type, 0, "its type");
      t.equal(short.name, "", "its name");
      t.done();
    }

    private function qualityReport(t:Test):void {
      brisoraInRoom(t, function(brisora:Brisora):void {
        ilive.command('stats lists=2 exeCpuRate=77 networkParams.rtt=120 networkParams.isTcp=1 ' +
                      'videoDecodeParams.userId="u1","" videoRecvParams.lossRate=0.5,1 ' +
                      'videoEncodeParams.gopparam.lossrate2S=4,5 tickCountBegin=18446744073709551615');
        t.waitFor(brisora, BrisoraEvent.QUALITYPARAM, function(e:BrisoraEvent):void {
          var q:QualityReport = e.quality;
          t.expect(q != null, "a report");
          t.equal(q.reportText, e.level, "the text it was read from");
          t.equal(q.lineCount, e.level.split("\n").length - 1, "one line per line of the text");
          t.equal(q.exeCpuRate, 77, "exeCpuRate");
          t.equal(q.text("tickCountBegin"), "18446744073709551615", "a 64-bit count in full as text");
          t.expect(q.tickCountBegin > 1.8e19, "and as a Number: " + q.tickCountBegin);
          t.equal(q.avsdkVersion, "1.0.0.0 (stand-in)", "the version text");
          t.equal(q.networkParams.number("rtt"), 120, "networkParams.rtt");
          t.equal(q.networkParams.number("isTcp"), 1, "networkParams.isTcp");
          t.equal(q.networkParams.names.length, 23, "the network record's values");
          t.equal(q.section("networkParams").number("rtt"), 120, "the same section by name");
          t.equal(q.videoDecodeParams.length, 2, "two decode streams");
          t.equal(q.videoDecodeParams[0].text("userId"), "u1", "the first decode stream's user");
          t.expect(q.videoDecodeParams[1].has("userId"), "an empty user id is a value");
          t.equal(q.videoDecodeParams[1].text("userId"), "", "the empty user id");
          t.equal(q.videoDecodeParams[1].number("width"), 640, "the value after the empty user id");
          t.equal(q.videoRecvParams[0].number("lossRate"), 0.5, "a rate 0.50");
          t.equal(q.videoRecvParams[1].text("lossRate"), "1.00", "a rate 1.00 as text");
          var gop:QualityRecord = q.videoEncodeParams[1].record("gopparam");
          t.equal(gop.number("lossrate2S"), 5, "the second stream's nested gopparam record");
          t.equal(gop.names.length, 7, "the gopparam record's values");
          t.equal(q.videoEncodeParams[1].number("hw"), 0, "the value before gopparam stays the stream's");
          t.equal(q.videoEncodeParams[1].has("reffrmInterval"), false, "nested values stay in the nested record");
          t.equal(q.audioQosParam.number("aecEnable"), 1, "the last section");
          t.equal(q.audioCategory, 1, "the last line");
          t.equal(q.listNames.join(","), "videoEncodeParams,videoDecodeParams,videoRecvParams,audioDecodeParams", "the lists");
          t.expect(e.quality === q, "read once per event");
          brisora.disposeContext();
          t.done();
        });
      });
    }

    private function oddQualityReports(t:Test):void {
      brisoraInRoom(t, function(brisora:Brisora):void {
        ilive.command('stats lists=0 avsdkVersion=""');
        t.waitFor(brisora, BrisoraEvent.QUALITYPARAM, function(e:BrisoraEvent):void {
          var q:QualityReport = e.quality;
          t.equal(q.videoEncodeParams.length, 0, "no encode stream");
          t.equal(q.audioDecodeParams.length, 0, "no audio decode stream");
          t.equal(q.listNames.length, 4, "the four lists are there, empty");
          t.equal(q.avsdkVersion, "", "an empty version text");
          t.expect(q.has("avsdkVersion"), "is a value");
          t.equal(q.isAnchor, false, "isAnchor");
          t.equal(q.audioRecvParam.names.length, 3, "the section after the empty list");
          brisora.disposeContext();

          var none:QualityReport = QualityReport.parse(null);
          t.equal(none.lineCount, 0, "a null text has no line");
          t.equal(none.networkParams.number("rtt"), 0, "and reads as zeros");
          t.equal(none.videoDecodeParams.length, 0, "and empty lists");
          var hostile:QualityReport = QualityReport.parse(
              "garbage\n   orphan: 1\n:\n: \nhasOwnProperty: 3\n__proto__: 4\nconstructor:\n   toString: 5\n" +
              "x[0]:\n      deep: 6\n   userId: a: b\n   gopparam:\n      deep: 7\nexeCpuRate: lots\n");
          t.equal(hostile.number("hasOwnProperty"), 3, "a value named hasOwnProperty");
          t.equal(hostile.text("__proto__"), "4", "a value named __proto__");
          t.equal(hostile.section("constructor").number("toString"), 5, "a section named constructor");
          t.equal(hostile.list("x").length, 1, "a list without its count line");
          t.equal(hostile.list("x")[0].text("userId"), "a: b", "a value holding \": \"");
          t.equal(hostile.list("x")[0].record("gopparam").number("deep"), 7, "only the nested record's own line");
          t.equal(hostile.exeCpuRate, 0, "a value that is no number reads as 0");
          t.equal(hostile.has("orphan"), false, "an indented line outside any record is passed over");
          t.equal(hostile.section("nothing").names.length, 0, "a section the text lacks");
          t.done();
        });
      });
    }

    private function afterDispose(t:Test):void {
      ilive.command("reset");
      liteav.command("reset");
      var brisora:Brisora = new Brisora();
      t.equal(brisora.isInited(), false, "a call before dispose");
      brisora.disposeContext();
      t.equal(brisora.context, null, "no context once disposed");
      t.equal(threw(function():void { brisora.isInited(); }), Brisora.DISPOSED, "a call after dispose");
      t.equal(threw(function():void { brisora.getVideoData(new ByteArray(), "me", SourceKind.CAMERA); }),
              "Brisora: the extension context was disposed; create a new Brisora", "a void call after dispose");
      t.equal(threw(function():void { brisora.cameraNames(); }), Brisora.DISPOSED, "a list helper after dispose");
      t.equal(threw(function():void { brisora.disposeContext(); }), null, "disposing twice");
      var tamvex:Tamvex = new Tamvex();
      tamvex.disposeContext();
      t.equal(threw(function():void { tamvex.initTRTCSdk(false); }),
              "Tamvex: the extension context was disposed; create a new Tamvex", "a Tamvex call after dispose");
      t.done();
    }

    // The message of the Error fn throws; null when it throws none.
    private static function threw(fn:Function):String {
      try {
        fn();
      } catch (e:Error) {
        return e.message;
      }
      return null;
    }
  }
}
