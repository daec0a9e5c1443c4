package {
  import com.airrtc.RenderBufferType;
  import com.airrtc.RenderCallbackSwitch;
  import com.airrtc.RenderPixelFormat;
  import com.airrtc.StreamCode;
  import com.airrtc.Tamvex;
  import com.airrtc.TamvexEvent;
  import com.airrtc.testing.SimulatedSdk;
  import flash.filesystem.File;
  import flash.utils.ByteArray;

  /**
   * examples/tamvex-room.txt as an AIR application writes it: start the SDK, enter a room, follow
   * volume reports, run a speed test, preview the local camera, watch two remote users, pull their
   * frames when their "video" events arrive and save them as pictures, leave, dispose.
   *
   * The lines marked "simulated SDK" play the part of the TRTC SDK and its network; an
   * application has none of them.
   */
  public class TamvexRoom extends ExampleApp {
    private var tamvex:Tamvex;
    private var sdk:SimulatedSdk = new SimulatedSdk(Tamvex.EXTENSION_ID);
    private var frame:ByteArray = new ByteArray();
    private var media:int = 0;
    private var volumeReports:int = 0;
    private var speedResults:int = 0;
    private var saved:int = 0;

    public function TamvexRoom(out:File, finished:Function) {
      super("tamvex-room", out, finished);
    }

    override public function start():void {
      tamvex = new Tamvex();
      for each (var code:String in TamvexEvent.CODES) tamvex.addEventListener(code, onEvent);

      check(tamvex.initTRTCSdk(true), "initTRTCSdk loads the SDK");
      sdk.command("room start");  // simulated SDK: a room with users u1 and u2
      say("enter room 12345 as me");
      check(tamvex.enterRoom(1400188888, 12345, "me", "user-sig", ""), "enterRoom asks the SDK");
    }

    private function onEvent(event:TamvexEvent):void {
      if (event.type != TamvexEvent.AUDIOEVENT) say("event " + event.code + " " + event.level);
      switch (event.type) {
        case TamvexEvent.MEDIAAVAILABLE:
          if (++media == 4) check(tamvex.enableAudioVolumeEvaluation(300), "volume reports every 300 ms");
          break;
        case TamvexEvent.AUDIOEVENT:
          if (volumeReports < 3 && ++volumeReports == 3) {
            say("event audioevent " + event.level + " (3 reports)");
            tamvex.enableAudioVolumeEvaluation(0);
            check(tamvex.startSpeedTest(1400188888, "me", "user-sig"), "speed test started");
          }
          break;
        case TamvexEvent.SPEEDTESTEVENT:
          if (++speedResults == 3) {
            tamvex.stopSpeedTest();
            watch();
          }
          break;
        case TamvexEvent.VIDEO:
          onFrame(event);
          break;
        case TamvexEvent.EXITROOM:
          check(tamvex.dispose(), "the SDK released");
          tamvex.disposeContext();
          finish();
          break;
      }
    }

    // The local preview as I420, u1 as I420, u2 as BGRA; frames in memory.
    private function watch():void {
      sdk.command("room stop");  // simulated SDK: from here frames come by hand, at a known point of the pattern
      check(tamvex.setLocalVideoRenderCallback(RenderPixelFormat.I420, RenderBufferType.BUFFER, RenderCallbackSwitch.REGISTER),
            "local render callback");
      tamvex.startLocalPreview();
      tamvex.startRemoteView("u1");
      tamvex.setRemoteVideoRenderCallback("u1", RenderPixelFormat.I420, RenderBufferType.BUFFER, RenderCallbackSwitch.REGISTER);
      tamvex.startRemoteView("u2");
      tamvex.setRemoteVideoRenderCallback("u2", RenderPixelFormat.BGRA32, RenderBufferType.BUFFER, RenderCallbackSwitch.REGISTER);
      sdk.command("frame local 320x180");
      sdk.command('frame remote "u1" 640x360');
      sdk.command('frame remote "u2" 320x180 marks=2');
    }

    // Pulls the frame that a "video" event announces and saves it.
    private function onFrame(event:TamvexEvent):void {
      var user:String = event.userId, width:int = event.width, height:int = event.height;
      tamvex.getVideoData(frame, user, event.streamType);
      check(frame.length == width * height * 4, "a frame of " + user + " " + width + "x" + height);
      savePicture(Pictures.fromFrame(frame, width, height),
                  user == "me" ? "tamvex-local-me.png" : "tamvex-remote-" + user + ".png");
      if (++saved < 3) return;
      // A view nobody has: the ByteArray is left as it was.
      var untouched:ByteArray = new ByteArray();
      untouched.length = 4;
      tamvex.getVideoData(untouched, "nobody", StreamCode.BIG);
      check(untouched.length == 4, "the ByteArray is left as it was");
      check(tamvex.exitRoom(), "exitRoom asks the SDK");
      sdk.command("exit-room 0");  // simulated SDK: the room is left
    }
  }
}
