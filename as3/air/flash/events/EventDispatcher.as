package flash.events {
  /**
   * Stand-in for flash.events.EventDispatcher: listeners by type, called in priority order, then
   * in the order they were added; adding the same listener twice keeps one. No capture or bubbling
   * phases (nothing here has a display list).
   */
  public class EventDispatcher {
    private var _listeners:Object = {};

    public function EventDispatcher(target:Object = null) {
    }

    public function addEventListener(type:String, listener:Function, useCapture:Boolean = false,
                                     priority:int = 0, useWeakReference:Boolean = false):void {
      var list:Array = _listeners[type] as Array;
      if (list == null) {
        list = [];
        _listeners[type] = list;
      }
      for each (var entry:Object in list)
        if (entry["listener"] === listener) return;
      var at:int = list.length;
      while (at > 0 && int(list[at - 1]["priority"]) < priority) --at;
      list.splice(at, 0, {"listener": listener, "priority": priority});
      listenersChanged(type);
    }

    public function removeEventListener(type:String, listener:Function, useCapture:Boolean = false):void {
      var list:Array = _listeners[type] as Array;
      if (list == null) return;
      for (var i:int = 0; i < list.length; ++i) {
        if (list[i]["listener"] === listener) {
          list.splice(i, 1);
          listenersChanged(type);
          return;
        }
      }
    }

    public function hasEventListener(type:String):Boolean {
      var list:Array = _listeners[type] as Array;
      return list != null && list.length > 0;
    }

    public function willTrigger(type:String):Boolean {
      return hasEventListener(type);
    }

    /**
     * Calls the listeners of event.type with the event (a copy of the list, so listeners may add
     * or remove listeners). An error thrown by a listener is reported on the error output and the
     * other listeners still run, as the AIR runtime reports an uncaught error of a handler.
     */
    public function dispatchEvent(event:Event):Boolean {
      event._target = this;
      var list:Array = _listeners[event.type] as Array;
      if (list == null) return true;
      for each (var entry:Object in list.concat()) {
        var listener:Function = entry["listener"] as Function;
        try {
          listener(event);
        } catch (e:Error) {
          uncaught(e);
        }
      }
      return true;
    }

    /** Subclasses hear about listeners coming and going. */
    protected function listenersChanged(type:String):void {
    }

    private static function uncaught(e:Error):void {
      var stack:String = e["stack"] as String;
      console.error("Uncaught error in an event listener: " + (stack ? stack : e.message));
      process["exitCode"] = 1;
    }
  }
}
