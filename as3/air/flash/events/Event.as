package flash.events {
  /** Stand-in for flash.events.Event: a type, and the object that dispatched it. */
  public class Event {
    public static const COMPLETE:String = "complete";

    private var _type:String;
    private var _bubbles:Boolean;
    private var _cancelable:Boolean;
    internal var _target:Object;

    public function Event(type:String, bubbles:Boolean = false, cancelable:Boolean = false) {
      _type = type;
      _bubbles = bubbles;
      _cancelable = cancelable;
    }

    public function get type():String { return _type; }
    public function get bubbles():Boolean { return _bubbles; }
    public function get cancelable():Boolean { return _cancelable; }
    /** The dispatcher, while and after it dispatched the event. */
    public function get target():Object { return _target; }
    public function get currentTarget():Object { return _target; }

    public function clone():Event {
      return new Event(_type, _bubbles, _cancelable);
    }

    public function toString():String {
      return "[Event type=\"" + _type + "\"]";
    }
  }
}
