package flash.filesystem {
  /** Stand-in for flash.filesystem.File: a path (what FileStream opens). Not here: browsing, copying, listing. */
  public class File {
    private static const path:Object = require("path");
    private static const fs:Object = require("fs");

    private var _path:String;

    public function File(path:String = null) {
      _path = path;
    }

    /** The folder the program was started in. */
    public static function get applicationDirectory():File {
      return new File(process.cwd());
    }

    public function get nativePath():String { return _path; }
    public function get name():String { return path["basename"](_path) as String; }
    public function get exists():Boolean { return Boolean(fs["existsSync"](_path)); }

    public function resolvePath(relative:String):File {
      return new File(path["resolve"](_path, relative) as String);
    }

    public function createDirectory():void {
      fs["mkdirSync"](_path, {"recursive": true});
    }
  }
}
