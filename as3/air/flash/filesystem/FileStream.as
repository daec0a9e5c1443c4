package flash.filesystem {
  import flash.errors.IOError;
  import flash.utils.ByteArray;

  /**
   * Stand-in for flash.filesystem.FileStream, synchronous only: open a File to READ (the whole file
   * is read), WRITE or APPEND; readBytes, writeBytes, writeUTFBytes; close writes. Errors throw as
   * AIR's IOError does (errorID 3003 for a missing file, 3001 for others).
   */
  public class FileStream {
    private static const fs:Object = require("fs");

    private var _file:File;
    private var _mode:String;
    private var _data:ByteArray;

    public function FileStream() {
    }

    public function open(file:File, fileMode:String):void {
      _file = file;
      _mode = fileMode;
      _data = new ByteArray();
      if (fileMode == FileMode.READ || fileMode == FileMode.UPDATE) {
        try {
          _data.airAdopt(fs["readFileSync"](file.nativePath));
        } catch (e:Object) {
          throw new IOError("Error #3003: File or directory does not exist.", 3003);
        }
      }
    }

    public function get bytesAvailable():uint { return _data ? _data.bytesAvailable : 0; }
    public function readBytes(bytes:ByteArray, offset:uint = 0, length:uint = 0):void { _data.readBytes(bytes, offset, length); }
    public function readUTFBytes(length:uint):String { return _data.readUTFBytes(length); }
    public function writeBytes(bytes:ByteArray, offset:uint = 0, length:uint = 0):void { _data.writeBytes(bytes, offset, length); }
    public function writeUTFBytes(value:String):void { _data.writeUTFBytes(value); }

    public function close():void {
      if (_file == null) return;
      try {
        if (_mode == FileMode.WRITE || _mode == FileMode.UPDATE) fs["writeFileSync"](_file.nativePath, _data.airBytes());
        else if (_mode == FileMode.APPEND) fs["appendFileSync"](_file.nativePath, _data.airBytes());
      } catch (e:Object) {
        throw new IOError("Error #3001: File or directory access denied: " + _file.nativePath, 3001);
      } finally {
        _file = null;
        _data = null;
      }
    }
  }
}
