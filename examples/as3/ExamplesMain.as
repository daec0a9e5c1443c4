package {
  import flash.filesystem.File;

  /**
   * Runs one example application: node index.js brisora-room|tamvex-room OUT_DIR. The exit status
   * is 0 when every check held.
   */
  public class ExamplesMain {
    public function ExamplesMain() {
      var which:String = process.argv[2] as String;
      var out:File = new File(process.argv[3] ? process.argv[3] as String : ".");
      out.createDirectory();
      var finished:Function = function(failures:int):void {
        process["exitCode"] = failures == 0 ? 0 : 1;
      };
      var app:ExampleApp;
      if (which == "brisora-room") app = new BrisoraRoom(out, finished);
      else if (which == "tamvex-room") app = new TamvexRoom(out, finished);
      else {
        console.error("usage: index.js brisora-room|tamvex-room OUT_DIR");
        process["exitCode"] = 2;
        return;
      }
      app.run(30000);
    }
  }
}
