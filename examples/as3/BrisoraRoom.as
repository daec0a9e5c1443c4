package {
  import com.airrtc.AudioKind;
  import com.airrtc.Brisora;
  import com.airrtc.BrisoraEvent;
  import com.airrtc.DeviceOperation;
  import com.airrtc.QualityReport;
  import com.airrtc.RootViewProbe;
  import com.airrtc.SourceKind;
  import com.airrtc.testing.SimulatedSdk;
  import flash.display.BitmapData;
  import flash.filesystem.File;
  import flash.utils.ByteArray;

  /**
   * examples/brisora-room.txt as an AIR application writes it: start the SDK, log in, create a
   * room, open the first camera, pull the frames of the local camera and of two remote users when
   * their "video" events arrive and save them as pictures, follow audio levels and the quality
   * report, take a block of the local user's audio, leave, log out, dispose.
   *
   * The lines marked "simulated SDK" play the part of the iLive SDK and its network; an
   * application has none of them.
   */
  public class BrisoraRoom extends ExampleApp {
    private var brisora:Brisora;
    private var sdk:SimulatedSdk = new SimulatedSdk(Brisora.EXTENSION_ID);
    private var frame:ByteArray = new ByteArray();
    private var saved:int = 0;
    private var roomRunning:Boolean = false;
    private var audioEvents:int = 0;
    private var capturing:Boolean = false;
    private var sawQuality:Boolean = false;
    private var leaving:Boolean = false;

    public function BrisoraRoom(out:File, finished:Function) {
      super("brisora-room", out, finished);
    }

    override public function start():void {
      brisora = new Brisora();
      for each (var code:String in BrisoraEvent.CODES) brisora.addEventListener(code, onEvent);

      brisora.initRtmpLiveSdk(true);
      check(brisora.initILiveSdk(1400012345, 12345, 0, RootViewProbe.NONE), "initILiveSdk starts the SDK");
      check(brisora.iLiveLogin("me", "user-sig", 2, ""), "iLiveLogin asks the SDK");
      sdk.command("login-result ok");  // simulated SDK: the login succeeds
    }

    private function onEvent(event:BrisoraEvent):void {
      if (event.type != BrisoraEvent.VIDEO && event.type != BrisoraEvent.AUDIOEVENT &&
          event.type != BrisoraEvent.QUALITYPARAM)
        say("event " + event.code + " " + event.level);
      switch (event.type) {
        case BrisoraEvent.ILIVELOGIN:
          check(event.succeeded, "logged in");
          brisora.createRoom(880001, "me", "", false, true, true);
          sdk.command("room-result ok");  // simulated SDK: the room is made
          break;
        case BrisoraEvent.CREATEROOM:
          check(event.succeeded, "room created");
          var cameras:Vector.<String> = brisora.cameraNames();
          check(cameras.length == 1 && cameras[0] == "Stand-in Camera", "one camera");
          check(brisora.openCamera(0), "the first camera opens");
          sdk.command("device-op 1 0");  // simulated SDK: the camera is open
          break;
        case BrisoraEvent.DEVICES:
          // The SDK's operation code 1, the camera's opening, with result 0.
          check(event.notice == "operation" && event.operation == DeviceOperation.FIRST_PLAIN && event.result == 0,
                "camera opened");
          check(brisora.registAudioDataCallback(AudioKind.LOCAL_BLOCK, false), "audio levels registered");
          // simulated SDK: two remote cameras, and one frame of each stream at a fixed point of the test pattern
          sdk.command('member 3 "sim-user-1" "sim-user-2"');
          sdk.command('frame local "me" 320x240 format=rgb24 tick=1');
          sdk.command('frame remote "sim-user-1" 640x360 format=rgb24 tick=1');
          sdk.command('frame remote "sim-user-2" 320x180 format=rgb24 tick=2');
          break;
        case BrisoraEvent.VIDEO:
          if (!roomRunning) onFirstFrame(event);
          break;
        case BrisoraEvent.AUDIOEVENT:
          if (++audioEvents == 3) {
            say("event audioevent " + event.level + " (and more)");
            capturing = true;
            check(brisora.registAudioDataCallback(AudioKind.LOCAL_CAPTURE, true), "local audio capture registered");
          }
          break;
        case BrisoraEvent.QUALITYPARAM:
          if (!sawQuality) {
            var report:QualityReport = event.quality;
            say("event qualityparam (" + event.level.split("\n").length + " lines of report)");
            check(report.networkParams.has("rtt") && report.audioCaptureParam.number("sampleRate") > 0,
                  "the report's network and audio records");
          }
          sawQuality = true;
          maybeLeave();
          break;
        case BrisoraEvent.AUDIODATA:
          if (capturing) {
            capturing = false;
            var block:ByteArray = new ByteArray();
            brisora.getAudioData(block);
            check(block.length == 320, "a 20 ms block of 16 kHz audio (" + block.length + " bytes)");
            maybeLeave();
          }
          break;
        case BrisoraEvent.QUITROOM:
          check(event.succeeded, "left the room");
          sdk.command("room stop");
          brisora.iLiveLoginOut();
          sdk.command("logout-result ok");  // simulated SDK
          break;
        case BrisoraEvent.ILIVELOGINOUT:
          check(event.succeeded, "logged out");
          check(brisora.dispose(), "the SDK released");
          brisora.disposeContext();
          finish();
          break;
      }
    }

    // Pulls the frame that a "video" event announces, as an application does, and saves it.
    private function onFirstFrame(event:BrisoraEvent):void {
      var user:String = event.userId, width:int = event.width, height:int = event.height, kind:int = event.kind;
      if (user == "sim-user-2") {
        var picture:BitmapData = brisora.getVideoBitmapData(null, user, kind);
        check(picture != null && picture.width == width && picture.height == height, "a BitmapData of " + user);
        savePicture(picture, "brisora-remote-sim-user-2.png");
      } else {
        brisora.getVideoData(frame, user, kind);
        check(frame.length == width * height * 4, "a frame of " + user + " " + width + "x" + height);
        savePicture(Pictures.fromFrame(frame, width, height),
                    user == "me" ? "brisora-local-me.png" : "brisora-remote-" + user + ".png");
      }
      if (++saved < 3) return;
      // Nobody's camera: an error event, the ByteArray left as it was.
      brisora.getVideoData(frame, "nobody", SourceKind.CAMERA);
      check(frame.length == 640 * 360 * 4, "the ByteArray is left as it was");
      roomRunning = true;
      sdk.command("room start");  // simulated SDK: the room runs by itself from here
    }

    private function maybeLeave():void {
      if (leaving || !sawQuality || capturing || audioEvents < 3) return;
      leaving = true;
      check(brisora.quitRoom(), "quitRoom asks the SDK");
      sdk.command("quit-result ok");  // simulated SDK
    }
  }
}
