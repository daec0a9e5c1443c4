package flash.events {
  /** Stand-in for flash.events.StatusEvent: what an extension context dispatches. */
  public class StatusEvent extends Event {
    public static const STATUS:String = "status";

    private var _code:String;
    private var _level:String;

    public function StatusEvent(type:String, bubbles:Boolean = false, cancelable:Boolean = false,
                                code:String = "", level:String = "") {
      super(type, bubbles, cancelable);
      _code = code;
      _level = level;
    }

    public function get code():String { return _code; }
    public function set code(value:String):void { _code = value; }
    public function get level():String { return _level; }
    public function set level(value:String):void { _level = value; }

    override public function clone():Event {
      return new StatusEvent(type, bubbles, cancelable, _code, _level);
    }

    override public function toString():String {
      return "[StatusEvent type=\"" + type + "\" code=\"" + _code + "\" level=\"" + _level + "\"]";
    }
  }
}
