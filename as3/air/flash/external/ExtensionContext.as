package flash.external {
  import flash.display.BitmapData;
  import flash.errors.IllegalOperationError;
  import flash.events.EventDispatcher;
  import flash.events.StatusEvent;
  import flash.utils.ByteArray;

  /**
   * Stand-in for flash.external.ExtensionContext over air_runtime.node, the runtime stand-in's
   * Node module (beside the node program that runs the application, or AIR_RUNTIME_MODULE).
   *
   * createExtensionContext finds the extension's descriptor by id (extension.xml files in the
   * "extensions" folder beside the module, or in the folders of AIR_EXTENSIONS) and loads its
   * library as the runtime does; call passes int, uint, Number, String, Boolean, null, ByteArray
   * and BitmapData both ways with their ActionScript meaning; StatusEvents arrive on the main
   * thread, between calls, through Node's event loop; dispose runs the context finalizer. As in
   * AIR, call throws an ArgumentError for a name the extension's function table does not have and
   * an IllegalOperationError once the context is disposed.
   *
   * As in AIR, a context nobody references any more is finalized when the garbage collector takes
   * it: the runtime module holds it only weakly, and the callback that receives its events is kept
   * by the native object the context holds. Events still on their way to it are dropped.
   *
   * While a context is alive and has a StatusEvent listener, the program waits for its events
   * instead of ending; dispose it (or remove the listener) to let the program end. When the
   * program ends, live contexts are disposed, extensions finalized, and any breach of the runtime's
   * rules by an extension is reported on the error output with exit status 1.
   */
  public class ExtensionContext extends EventDispatcher {
    private static var _runtime:Object;

    private var _native:Object;

    public function ExtensionContext(token:Object = null) {
      if (token !== TOKEN) throw new ArgumentError("Error #2012: ExtensionContext class cannot be instantiated.", 2012);
    }

    /** The context of the extension extensionID, or null when it is not available. */
    public static function createExtensionContext(extensionID:String, contextType:String):ExtensionContext {
      if (extensionID == null) throw new ArgumentError("Error #2007: Parameter extensionID must be non-null.", 2007);
      var context:ExtensionContext = new ExtensionContext(TOKEN);
      var made:Object = runtime()["createContext"](extensionID, contextType == null ? "" : contextType,
                                                   function(list:Array):void { context.deliver(list); });
      if (made is String) {
        console.error("ExtensionContext: " + made);
        return null;
      }
      context._native = made;
      return context;
    }

    /** The runtime stand-in's module (for the SDK control of tests). */
    public static function runtime():Object {
      if (_runtime == null) {
        var path:Object = require("path");
        var file:String = process.env["AIR_RUNTIME_MODULE"] as String;
        if (!file) file = path["join"](path["dirname"](process["execPath"]), "air_runtime.node");
        _runtime = require(file);
        process["on"]("exit", atExit);
      }
      return _runtime;
    }

    /**
     * Calls the extension function functionName. ByteArrays and BitmapDatas that the function
     * changed are changed here when it returns; a ByteArray or BitmapData the function makes is
     * a new object.
     *
     * Throws an ArgumentError (2007) for a null functionName and (3500) for a name the
     * extension's function table does not have, and an IllegalOperationError (3501) once the
     * context is disposed, as AIR does; the extension is not called then.
     */
    public function call(functionName:String, ... args):Object {
      if (functionName == null) throw new ArgumentError("Error #2007: Parameter functionName must be non-null.", 2007);
      if (_native == null) throw disposedError();
      var tagged:Array = [];
      for each (var a:Object in args) tagged.push(tag(a));
      var answer:Object = _native["call"](functionName, tagged);
      if (answer["refused"] == "disposed") throw disposedError();
      if (answer["refused"] == "name")
        throw new ArgumentError("Error #3500: The extension context does not have a method with the name " +
                                functionName + ".", 3500);
      var out:Array = answer["out"] as Array;
      for (var i:int = 0; i < args.length; ++i) {
        if (out[i] == null) continue;
        if (args[i] is ByteArray) ByteArray(args[i]).airAdopt(out[i]);
        else if (args[i] is BitmapData) BitmapData(args[i]).airAdopt(out[i]);
      }
      return untag(answer["result"], args);
    }

    /** Runs the context finalizer; events not yet delivered are dropped. */
    public function dispose():void {
      if (_native == null) return;
      var n:Object = _native;
      _native = null;
      n["dispose"]();
    }

    /** The function names of the extension's table (not in AIR; handy in tests). */
    public function get functionNames():Array {
      return _native == null ? [] : _native["functionNames"]() as Array;
    }

    override protected function listenersChanged(type:String):void {
      if (_native != null && type == StatusEvent.STATUS) _native["keepAlive"](hasEventListener(StatusEvent.STATUS));
    }

    private function deliver(list:Array):void {
      for (var i:int = 0; i + 1 < list.length && _native != null; i += 2)
        dispatchEvent(new StatusEvent(StatusEvent.STATUS, false, false, list[i] as String, list[i + 1] as String));
    }

    private static const TOKEN:Object = {};

    private static function disposedError():IllegalOperationError {
      return new IllegalOperationError("Error #3501: The extension context has already been disposed.", 3501);
    }

    private static function tag(value:*):Object {
      if (value is ByteArray) return {"kind": "ByteArray", "bytes": ByteArray(value).airBytes()};
      if (value is BitmapData) {
        var b:BitmapData = BitmapData(value);
        return {"kind": "BitmapData", "width": b.width, "height": b.height, "transparent": b.transparent,
                "pixels": b.airPixels()};
      }
      if (value === undefined) return null;
      return value;
    }

    private static function untag(value:Object, args:Array):Object {
      if (value == null || typeof value != "object") return value;
      if (value["arg"] !== undefined) return args[int(value["arg"])];
      if (value["kind"] == "ByteArray") {
        var bytes:ByteArray = new ByteArray();
        bytes.airAdopt(value["bytes"]);
        return bytes;
      }
      if (value["kind"] == "BitmapData")
        return BitmapData.airFrom(int(value["width"]), int(value["height"]), Boolean(value["transparent"]),
                                  value["pixels"]);
      return {};
    }

    private static function atExit(code:int):void {
      var b:Object = _runtime["shutdown"]();
      if (int(b["total"]) == 0) return;
      console.error("air: " + b["total"] + " runtime rule breach(es) by the extensions (wrong thread " +
                    b["wrongThread"] + ", illegal state " + b["illegalState"] + ", invalid object " +
                    b["invalidObject"] + ", invalid argument " + b["invalidArgument"] + ")");
      for each (var line:String in b["log"] as Array) console.error("air:   " + line);
      if (!process["exitCode"]) process["exitCode"] = 1;
    }
  }
}
