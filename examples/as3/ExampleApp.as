package {
  import flash.display.BitmapData;
  import flash.filesystem.File;

  /** What both example applications share: a log, checks, saving pictures, and the end. */
  public class ExampleApp {
    private var _name:String;
    private var _out:File;
    private var _finished:Function;
    private var _failures:int = 0;
    private var _done:Boolean = false;
    private var _timer:Object;

    public function ExampleApp(name:String, out:File, finished:Function) {
      _name = name;
      _out = out;
      _finished = finished;
    }

    /** Runs the application; it calls finish() when it is through. */
    public function run(timeoutMs:int):void {
      _timer = setTimeout(function():void {
        check(false, "finished within " + timeoutMs + " ms");
        finish();
      }, timeoutMs);
      start();
    }

    public function start():void {
    }

    protected function say(line:String):void {
      console.log("[" + _name + "] " + line);
    }

    protected function check(ok:Boolean, what:String):void {
      if (ok) return;
      ++_failures;
      say("FAILED: " + what);
    }

    protected function savePicture(picture:BitmapData, name:String):void {
      var file:File = _out.resolvePath(name);
      Pictures.save(picture, file);
      say("saved " + file.nativePath + " (" + picture.width + "x" + picture.height + ")");
    }

    protected function finish():void {
      if (_done) return;
      _done = true;
      var clear:Function = clearTimeout;
      clear(_timer);
      say(_failures == 0 ? "done" : _failures + " check(s) failed");
      _finished(_failures);
    }
  }
}
