package {
  import flash.events.EventDispatcher;

  /** One running test: expectations, waiting for events, and its end. */
  public class Test {
    public var name:String;
    public var failures:Array = [];
    private var _finished:Function;
    private var _ended:Boolean = false;
    private var _timer:Object;
    // What the test waits on is held until the test ends: a context that only
    // its own listener reaches would otherwise be collected, and its events
    // dropped, as in AIR.
    private var _waitingOn:Array = [];

    public function Test(name:String, finished:Function) {
      this.name = name;
      _finished = finished;
      _timer = setTimeout(function():void {
        fail("did not finish within 10 s");
        done();
      }, 10000);
    }

    public function expect(ok:Boolean, what:String):void {
      if (!ok) fail(what);
    }

    public function equal(actual:Object, expected:Object, what:String):void {
      if (actual !== expected) fail(what + ": expected " + show(expected) + ", got " + show(actual));
    }

    public function fail(what:String):void {
      failures.push(what);
    }

    /** Calls then(event) once the next event of this type arrives from target. */
    public function waitFor(target:EventDispatcher, type:String, then:Function):void {
      _waitingOn.push(target);
      var listener:Function = function(event:Object):void {
        target.removeEventListener(type, listener);
        guard(then, event);
      };
      target.addEventListener(type, listener);
    }

    /** Runs fn(arg); an error thrown ends the test as a failure. */
    public function guard(fn:Function, arg:Object = null):void {
      try {
        fn(arg);
      } catch (e:Error) {
        fail("threw " + e.message);
        done();
      }
    }

    public function done():void {
      if (_ended) return;
      _ended = true;
      _waitingOn = [];
      var clear:Function = clearTimeout;
      clear(_timer);
      _finished(this);
    }

    private static function show(v:Object):String {
      if (v is String) return "\"" + v + "\"";
      return String(v) + " (" + typeof v + ")";
    }
  }
}
