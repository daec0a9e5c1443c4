package {
  /**
   * A small runner for asynchronous tests: each test gets a Test with expect() and done(); they run
   * one after the other, each within a time limit. The last line is the summary
   * "as3: N passed, N failed"; the exit status is 1 when any test failed.
   *
   * The result lines go to the console and, with "--results FILE" on the command line (or the
   * environment variable AS3_RESULTS), to that file as well, where no console line of an
   * extension can run into them.
   */
  public class TestRunner {
    private var _tests:Array = [];
    private var _passed:int = 0;
    private var _failed:int = 0;
    private var _results:String = null;

    public function TestRunner() {
      var at:int = process.argv.indexOf("--results");
      if (at >= 0 && at + 1 < process.argv.length) _results = process.argv[at + 1] as String;
      else if (process.env["AS3_RESULTS"]) _results = process.env["AS3_RESULTS"] as String;
      if (_results) require("fs")["writeFileSync"](_results, "");
    }

    /** One result line: on the console, and whole on a line of its own in the results file. */
    private function report(line:String):void {
      console.log(line);
      if (_results) require("fs")["appendFileSync"](_results, line + "\n");
    }

    public function add(name:String, body:Function):void {
      _tests.push({"name": name, "body": body});
    }

    public function run():void {
      next(0);
    }

    private function next(index:int):void {
      if (index >= _tests.length) {
        report("as3: " + _passed + " passed, " + _failed + " failed");
        process["exitCode"] = _failed == 0 ? 0 : 1;
        // Nothing may hold the program now; a timer that does not hold it says so if something does.
        setTimeout(function():void {
          report("as3: the program did not end by itself 5 s after the last test: something holds it");
          process["exit"](1);
        }, 5000)["unref"]();
        return;
      }
      var entry:Object = _tests[index];
      var test:Test = new Test(entry["name"] as String, function(t:Test):void {
        if (t.failures.length == 0) {
          ++_passed;
          report("ok      " + t.name);
        } else {
          ++_failed;
          report("FAILED  " + t.name);
          for each (var f:String in t.failures) report("        " + f);
        }
        setTimeout(function():void { next(index + 1); }, 0);
      });
      try {
        (entry["body"] as Function)(test);
      } catch (e:Error) {
        test.fail("threw " + e.message);
        test.done();
      }
    }
  }
}
