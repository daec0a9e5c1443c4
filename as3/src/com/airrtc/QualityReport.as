// Written by hand (not generated): Brisora's quality report, read from its text.
package com.airrtc {
  /**
   * Brisora's quality report (the level of a "qualityparam" event) read into its records and
   * numbers. The text is one "name: value" line per value: the top-level values without indent; a
   * section ("networkParams:") with its values indented by three spaces; a list as its count line
   * ("videoEncodeParams.size: 2") and one item line per element ("videoEncodeParams[0]:") with the
   * element's values indented by three spaces; an encode stream's "gopparam:" record indented by six.
   *
   *   brisora.addEventListener(BrisoraEvent.QUALITYPARAM, function(e:BrisoraEvent):void {
   *     var q:QualityReport = e.quality;
   *     trace(q.exeCpuRate, q.networkParams.number("rtt"));
   *     for each (var d:QualityRecord in q.videoDecodeParams) trace(d.text("userId"), d.number("fps"));
   *   });
   *
   * Reading never fails: a line of another shape is passed over, a section or list the text lacks
   * is empty, a value it lacks reads as "" or 0.
   *
   * @see BrisoraEvent#quality
   */
  public class QualityReport extends QualityRecord {
    private var _text:String;
    private var _lists:Object = {};  // under "$" + name, as QualityRecord keeps its values
    private var _listNames:Array = [];
    private var _lineCount:int = 0;

    public function QualityReport(text:String = null) {
      _text = text == null ? "" : text;
      read();
    }

    /** The report read from its text (null reads as an empty report). */
    public static function parse(text:String):QualityReport {
      return new QualityReport(text);
    }

    /** The report's text as the extension sent it. */
    public function get reportText():String {
      return _text;
    }

    /** How many lines the report has. */
    public function get lineCount():int {
      return _lineCount;
    }

    /** The top-level section of this name ("networkParams"); an empty record when there is none. */
    public function section(name:String):QualityRecord {
      return record(name);
    }

    /** The elements of the list of this name ("videoDecodeParams"), in order; empty when there is none. */
    public function list(name:String):Vector.<QualityRecord> {
      var items:Vector.<QualityRecord> = new Vector.<QualityRecord>();
      var have:Array = _lists.hasOwnProperty("$" + name) ? _lists["$" + name] as Array : null;
      if (have != null) for each (var r:QualityRecord in have) items.push(r);
      return items;
    }

    /** The names of the lists, in the order of the report. */
    public function get listNames():Array {
      return _listNames.slice();
    }

    /** The SDK's tick count when the statistics period began (text("tickCountBegin") keeps all 64 bits). */
    public function get tickCountBegin():Number { return number("tickCountBegin"); }
    /** The SDK's tick count when the statistics period ended. */
    public function get tickCountEnd():Number { return number("tickCountEnd"); }
    /** The SDK's version text. */
    public function get avsdkVersion():String { return text("avsdkVersion"); }
    /** The application's CPU load. */
    public function get exeCpuRate():int { return int(number("exeCpuRate")); }
    /** The system's CPU load. */
    public function get sysCpuRate():int { return int(number("sysCpuRate")); }
    /** True when the user is the room's anchor. */
    public function get isAnchor():Boolean { return number("isAnchor") != 0; }
    /** The SDK's audio category. */
    public function get audioCategory():int { return int(number("audioCategory")); }

    /** The network counters: kbpsSend, lossRateSend, ..., rtt, ..., udtEnable. */
    public function get networkParams():QualityRecord { return section("networkParams"); }
    /** The captured video: width, height, fps. */
    public function get videoCaptureParam():QualityRecord { return section("videoCaptureParam"); }
    /** The encoded video streams: viewType, width, height, fps, bitrate, angle, encodeType, hw, record("gopparam"). */
    public function get videoEncodeParams():Vector.<QualityRecord> { return list("videoEncodeParams"); }
    /** The sent video: lossRate, iFec, spFec, pkt and the 12 s figures. */
    public function get videoSendParam():QualityRecord { return section("videoSendParam"); }
    /** The decoded video streams: userId, viewType, width, height, fps, bitrate, hw, codecType, hwdecDelay. */
    public function get videoDecodeParams():Vector.<QualityRecord> { return list("videoDecodeParams"); }
    /** The received video streams: lossRate (a rate such as 0.50), dwJitterR, dwBRR. */
    public function get videoRecvParams():Vector.<QualityRecord> { return list("videoRecvParams"); }
    /** The main video's QoS parameters. */
    public function get videoMainQosParam():QualityRecord { return section("videoMainQosParam"); }
    /** The auxiliary video's QoS parameters. */
    public function get videoAuxQosParam():QualityRecord { return section("videoAuxQosParam"); }
    /** The captured audio: sampleRate, channelCount. */
    public function get audioCaptureParam():QualityRecord { return section("audioCaptureParam"); }
    /** The audio encoder: encodeType, encodeBitrate, vad. */
    public function get audioEncodeParams():QualityRecord { return section("audioEncodeParams"); }
    /** The sent audio: lossRate, FEC, jitter, sendBr, sendBrUdt. */
    public function get audioSendParam():QualityRecord { return section("audioSendParam"); }
    /** The decoded audio streams: userId, decodeType, sampleRate, channelCount. */
    public function get audioDecodeParams():Vector.<QualityRecord> { return list("audioDecodeParams"); }
    /** The received audio: playDelay, lossRate, recvBr. */
    public function get audioRecvParam():QualityRecord { return section("audioRecvParam"); }
    /** The audio QoS parameters. */
    public function get audioQosParam():QualityRecord { return section("audioQosParam"); }

    // One pass over the lines; the indent says where a line belongs: 0 the report, 3 the open
    // section or list element, 6 the record nested in it.
    private function read():void {
      var lines:Array = _text.split("\n");
      if (lines.length > 0 && lines[lines.length - 1] == "") lines.pop();
      _lineCount = lines.length;
      var open:QualityRecord = null;    // the section or list element the indented lines go to
      var nested:QualityRecord = null;  // the record nested in it
      var item:RegExp = /^(\w+)\[(\d+)\]$/;
      for each (var line:String in lines) {
        var indent:int = 0;
        while (indent < line.length && line.charAt(indent) == " ") ++indent;
        var content:String = line.substr(indent);
        var colon:int = content.indexOf(": ");
        var header:Boolean = colon < 0 && content.length > 1 && content.charAt(content.length - 1) == ":";
        if (colon <= 0 && !header) continue;
        var name:String = header ? content.substr(0, content.length - 1) : content.substr(0, colon);
        var value:String = header ? "" : content.substr(colon + 2);
        if (indent == 0) {
          nested = null;
          if (!header) {
            open = null;
            if (name.length > 5 && name.substr(name.length - 5) == ".size") listOf(name.substr(0, name.length - 5));
            else setValue(name, value);
          } else {
            var m:Object = item.exec(name);
            if (m != null) {
              open = new QualityRecord();
              listOf(String(m[1])).push(open);
            } else {
              open = addRecord(name);
            }
          }
        } else if (indent == 3 && open != null) {
          if (header) nested = open.addRecord(name);
          else {
            nested = null;
            open.setValue(name, value);
          }
        } else if (indent == 6 && nested != null && !header) {
          nested.setValue(name, value);
        }
      }
    }

    private function listOf(name:String):Array {
      if (!_lists.hasOwnProperty("$" + name)) {
        _lists["$" + name] = [];
        _listNames.push(name);
      }
      return _lists["$" + name] as Array;
    }
  }
}
