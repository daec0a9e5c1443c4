// Written by hand (not generated): one record of Brisora's quality report.
package com.airrtc {
  /**
   * One record of a quality report: its "name: value" lines in order and the records nested in it
   * (an encode stream's "gopparam"). Every value is kept as the text the report printed; number()
   * reads it as a Number. A name the record does not have answers "" or 0, never an error.
   *
   *   var net:QualityRecord = report.networkParams;
   *   trace(net.number("rtt"), net.number("kbpsSend"), net.text("isTcp"));
   *
   * @see QualityReport
   */
  public class QualityRecord {
    // Values and records are kept under "$" + name, so that no name the text holds (a hostile
    // "__proto__" or "hasOwnProperty") can reach the objects' own members.
    private var _names:Array = [];
    private var _values:Object = {};
    private var _recordNames:Array = [];
    private var _records:Object = {};

    /** The names of the record's values, in the order of the report. */
    public function get names():Array {
      return _names.slice();
    }

    /** True when the record has a value of this name. */
    public function has(name:String):Boolean {
      return _values.hasOwnProperty("$" + name);
    }

    /** The value as the report printed it; "" when the record has no such value. */
    public function text(name:String):String {
      return has(name) ? String(_values["$" + name]) : "";
    }

    /**
     * The value as a Number (a rate such as "0.50" too); 0 when the record has no such value or
     * the text is not a number. Whole numbers above 2^53 lose their last digits: text() has them.
     */
    public function number(name:String):Number {
      if (!has(name)) return 0;
      var n:Number = Number(_values["$" + name]);
      return isNaN(n) ? 0 : n;
    }

    /** The record nested under this name ("gopparam"); an empty record when there is none. */
    public function record(name:String):QualityRecord {
      var r:QualityRecord = _records.hasOwnProperty("$" + name) ? _records["$" + name] as QualityRecord : null;
      return r != null ? r : new QualityRecord();
    }

    /** The names of the nested records, in the order of the report. */
    public function get recordNames():Array {
      return _recordNames.slice();
    }

    /** Adds a value; the first of two values of one name is kept. */
    internal function setValue(name:String, value:String):void {
      if (has(name)) return;
      _names.push(name);
      _values["$" + name] = value;
    }

    /** A new record nested under this name (a second one of the name replaces the first). */
    internal function addRecord(name:String):QualityRecord {
      var r:QualityRecord = new QualityRecord();
      if (!_records.hasOwnProperty("$" + name)) _recordNames.push(name);
      _records["$" + name] = r;
      return r;
    }
  }
}
