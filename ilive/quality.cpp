// The quality report: the SDK's statistics record as one text, the level of
// the "qualityparam" event.
#include <string>

#include "core/context.h"
#include "core/edge.h"
#include "ilive/brisora.h"
#include "ilive/manager.h"

namespace brisora {
namespace {

using ilive::SdkString;

// Builds a text line by line; each line is formatted on its own and appended.
class Lines {
 public:
  explicit Lines(const char* indent = "") : indent_(indent) {}

  void unsignedLine(const char* name, uint32_t v) { text_.append(SdkString::format("%s%s: %u\n", indent_, name, v)); }
  void signedLine(const char* name, int v) { text_.append(SdkString::format("%s%s: %d\n", indent_, name, v)); }
  void textLine(const char* name, const SdkString& v) {
    text_.append(SdkString::format("%s%s: %s\n", indent_, name, v.c_str()));
  }
  void rateLine(const char* name, float v) {
    text_.append(SdkString::format("%s%s: %.2f\n", indent_, name, static_cast<double>(v)));
  }
  void header(const char* name) { text_.append(SdkString::format("%s%s:\n", indent_, name)); }
  void append(const SdkString& block) { text_.append(block); }
  SdkString& text() { return text_; }

 private:
  const char* indent_;
  SdkString text_;
};

constexpr const char* kIndent = "   ";
constexpr const char* kIndent2 = "      ";

SdkString network(const ilive::NetworkStats& n) {
  Lines l(kIndent);
  l.unsignedLine("kbpsSend", n.kbpsSend);
  l.unsignedLine("lossRateSend", n.lossRateSend);
  l.unsignedLine("lossRateSendUdt", n.lossRateSendUdt);
  l.unsignedLine("packetSend", n.packetSend);
  l.unsignedLine("lossModelSend", n.lossModelSend);
  l.unsignedLine("kbpsRecv", n.kbpsRecv);
  l.unsignedLine("lossRateRecvUdt", n.lossRateRecvUdt);
  l.unsignedLine("lossRateRecv", n.lossRateRecv);
  l.unsignedLine("packetRecv", n.packetRecv);
  l.unsignedLine("unsendUdt", n.unsendUdt);
  l.unsignedLine("interfaceIP", n.interfaceIP);
  l.unsignedLine("interfacePort", n.interfacePort);
  l.unsignedLine("clientIP", n.clientIP);
  l.signedLine("isTcp", n.isTcp);
  l.unsignedLine("lossModelRecv", n.lossModelRecv);
  l.unsignedLine("cpuRateApp", n.cpuRateApp);
  l.unsignedLine("cpuRateSys", n.cpuRateSys);
  l.unsignedLine("rtt", n.rtt);
  l.unsignedLine("udtSMode", n.udtSMode);
  l.unsignedLine("udtRMode", n.udtRMode);
  l.unsignedLine("udtSendq", n.udtSendq);
  l.unsignedLine("udtRecvq", n.udtRecvq);
  l.signedLine("udtEnable", n.udtEnable);
  return l.text();
}

SdkString videoSize(const ilive::VideoSizeStats& v) {
  Lines l(kIndent);
  l.unsignedLine("width", v.width);
  l.unsignedLine("height", v.height);
  l.unsignedLine("fps", v.fps);
  return l.text();
}

SdkString gop(const ilive::GopStats& g) {
  Lines l(kIndent2);
  l.unsignedLine("reffrmInterval", g.reffrmInterval);
  l.unsignedLine("encIFrmNum", g.encIFrmNum);
  l.unsignedLine("reqIFrmNum", g.reqIFrmNum);
  l.unsignedLine("recvNACKNum", g.recvNACKNum);
  l.unsignedLine("recvFailedFrmInfNum", g.recvFailedFrmInfNum);
  l.unsignedLine("lossrate2S", g.lossrate2S);
  l.unsignedLine("weigth20SLossRate", g.weigth20SLossRate);
  return l.text();
}

SdkString videoEncode(const ilive::VideoEncodeStats& e) {
  Lines l(kIndent);
  l.unsignedLine("viewType", e.viewType);
  l.unsignedLine("width", e.width);
  l.unsignedLine("height", e.height);
  l.unsignedLine("fps", e.fps);
  l.unsignedLine("bitrate", e.bitrate);
  l.unsignedLine("angle", e.angle);
  l.unsignedLine("encodeType", e.encodeType);
  l.unsignedLine("hw", e.hw);
  l.header("gopparam");
  l.append(gop(e.gopparam));
  return l.text();
}

SdkString videoSend(const ilive::VideoSendStats& v) {
  Lines l(kIndent);
  l.unsignedLine("lossRate", v.lossRate);
  l.unsignedLine("iFec", v.iFec);
  l.unsignedLine("spFec", v.spFec);
  l.unsignedLine("pkt", v.pkt);
  l.unsignedLine("STnSBGainLoss12s", v.STnSBGainLoss12s);
  l.unsignedLine("STnSBDecLostMaxConcal12s", v.STnSBDecLostMaxConcal12s);
  l.unsignedLine("STnSBBreakSmallBreakContiPlc12s", v.STnSBBreakSmallBreakContiPlc12s);
  return l.text();
}

SdkString videoDecode(const ilive::VideoDecodeStats& v) {
  Lines l(kIndent);
  l.textLine("userId", v.userId);
  l.unsignedLine("viewType", v.viewType);
  l.unsignedLine("width", v.width);
  l.unsignedLine("height", v.height);
  l.unsignedLine("fps", v.fps);
  l.unsignedLine("bitrate", v.bitrate);
  l.unsignedLine("hw", v.hw);
  l.unsignedLine("codecType", v.codecType);
  l.unsignedLine("hwdecDelay", v.hwdecDelay);
  return l.text();
}

SdkString videoRecv(const ilive::VideoRecvStats& v) {
  Lines l(kIndent);
  l.rateLine("lossRate", v.lossRate);
  l.unsignedLine("dwJitterR", v.dwJitterR);
  l.unsignedLine("dwBRR", v.dwBRR);
  return l.text();
}

SdkString videoQos(const ilive::VideoQosStats& q) {
  Lines l(kIndent);
  l.unsignedLine("width", q.width);
  l.unsignedLine("height", q.height);
  l.unsignedLine("fps", q.fps);
  l.unsignedLine("bitrate", q.bitrate);
  l.unsignedLine("encodeType", q.encodeType);
  l.unsignedLine("minQp", q.minQp);
  l.unsignedLine("maxQp", q.maxQp);
  l.unsignedLine("fectype", q.fectype);
  l.unsignedLine("iFecPrecent", q.iFecPrecent);
  l.unsignedLine("spFecPrecent", q.spFecPrecent);
  l.unsignedLine("pFecPrecent", q.pFecPrecent);
  l.unsignedLine("iMtu", q.iMtu);
  l.unsignedLine("spMtu", q.spMtu);
  l.unsignedLine("pMtu", q.pMtu);
  l.unsignedLine("iFecMinPkg", q.iFecMinPkg);
  l.unsignedLine("spFecMinPkg", q.spFecMinPkg);
  l.unsignedLine("pFecMinPkg", q.pFecMinPkg);
  l.unsignedLine("iFecMinSize", q.iFecMinSize);
  l.unsignedLine("spFecMinSize", q.spFecMinSize);
  l.unsignedLine("pFecMinSize", q.pFecMinSize);
  l.unsignedLine("gopType", q.gopType);
  l.unsignedLine("gop", q.gop);
  l.unsignedLine("encMode", q.encMode);
  l.unsignedLine("hw", q.hw);
  return l.text();
}

SdkString audioCapture(const ilive::AudioCaptureStats& a) {
  Lines l(kIndent);
  l.unsignedLine("sampleRate", a.sampleRate);
  l.unsignedLine("channelCount", a.channelCount);
  return l.text();
}

SdkString audioEncode(const ilive::AudioEncodeStats& a) {
  Lines l(kIndent);
  l.unsignedLine("encodeType", a.encodeType);
  l.unsignedLine("encodeBitrate", a.encodeBitrate);
  l.unsignedLine("vad", a.vad);
  return l.text();
}

SdkString audioSend(const ilive::AudioSendStats& a) {
  Lines l(kIndent);
  l.unsignedLine("lossRate", a.lossRate);
  l.unsignedLine("FEC", a.FEC);
  l.unsignedLine("jitter", a.jitter);
  l.unsignedLine("sendBr", a.sendBr);
  l.unsignedLine("sendBrUdt", a.sendBrUdt);
  return l.text();
}

SdkString audioDecode(const ilive::AudioDecodeStats& a) {
  Lines l(kIndent);
  l.textLine("userId", a.userId);
  l.unsignedLine("decodeType", a.decodeType);
  l.unsignedLine("sampleRate", a.sampleRate);
  l.unsignedLine("channelCount", a.channelCount);
  return l.text();
}

SdkString audioRecv(const ilive::AudioRecvStats& a) {
  Lines l(kIndent);
  l.unsignedLine("playDelay", a.playDelay);
  l.unsignedLine("lossRate", a.lossRate);
  l.unsignedLine("recvBr", a.recvBr);
  return l.text();
}

SdkString audioQos(const ilive::AudioQosStats& a) {
  Lines l(kIndent);
  l.unsignedLine("sampleRate", a.sampleRate);
  l.unsignedLine("channelCount", a.channelCount);
  l.unsignedLine("codecType", a.codecType);
  l.unsignedLine("bitrate", a.bitrate);
  l.unsignedLine("aecEnable", a.aecEnable);
  l.unsignedLine("agcEnable", a.agcEnable);
  l.unsignedLine("fec", a.fec);
  l.unsignedLine("vad", a.vad);
  l.unsignedLine("packDuration", a.packDuration);
  l.unsignedLine("recn", a.recn);
  l.unsignedLine("recm", a.recm);
  l.unsignedLine("audioMtu", a.audioMtu);
  l.unsignedLine("jitterMinDelay", a.jitterMinDelay);
  l.unsignedLine("jitterMinMaxDelay", a.jitterMinMaxDelay);
  l.unsignedLine("jitterMaxMaxDelay", a.jitterMaxMaxDelay);
  l.unsignedLine("jitterDropScale", a.jitterDropScale);
  return l.text();
}

template <class Record>
void section(Lines& report, const char* name, const Record& record, SdkString (*build)(const Record&)) {
  report.header(name);
  report.append(build(record));
}

template <class Record>
void list(Lines& report, const char* name, const ilive::SdkVector<Record>& items, const char* itemFormat,
          SdkString (*build)(const Record&)) {
  report.append(SdkString::format("%s.size: %d\n", name, static_cast<int>(items.size())));
  for (uint32_t i = 0; i < items.size(); ++i) {
    report.append(SdkString::format(itemFormat, static_cast<int>(i)));
    report.append(build(items[i]));
  }
}

}  // namespace

SdkString buildQualityReport(const ilive::Statistics& s) {
  Lines report;
  report.append(SdkString::format("%s: %llu\n", "tickCountBegin", static_cast<unsigned long long>(s.tickCountBegin)));
  report.append(SdkString::format("%s: %llu\n", "tickCountEnd", static_cast<unsigned long long>(s.tickCountEnd)));
  report.append(SdkString::format("%s: %s\n", "avsdkVersion", s.avsdkVersion.c_str()));
  report.append(SdkString::format("%s: %u\n", "exeCpuRate", static_cast<unsigned>(s.exeCpuRate)));
  report.append(SdkString::format("%s: %u\n", "sysCpuRate", static_cast<unsigned>(s.sysCpuRate)));
  section(report, "networkParams", s.networkParams, network);
  section(report, "videoCaptureParam", s.videoCaptureParam, videoSize);
  list(report, "videoEncodeParams", s.videoEncodeParams, "videoEncodeParams[%d]:\n", videoEncode);
  section(report, "videoSendParam", s.videoSendParam, videoSend);
  list(report, "videoDecodeParams", s.videoDecodeParams, "videoDecodeParams[%d]:\n", videoDecode);
  list(report, "videoRecvParams", s.videoRecvParams, "videoRecvParams[%d]:\n", videoRecv);
  report.append(SdkString::format("%s: %d\n", "isAnchor", static_cast<int>(s.isAnchor)));
  section(report, "videoMainQosParam", s.videoMainQosParam, videoQos);
  section(report, "videoAuxQosParam", s.videoAuxQosParam, videoQos);
  section(report, "audioCaptureParam", s.audioCaptureParam, audioCapture);
  section(report, "audioEncodeParams", s.audioEncodeParams, audioEncode);
  section(report, "audioSendParam", s.audioSendParam, audioSend);
  list(report, "audioDecodeParams", s.audioDecodeParams, "audioDecodeParams[%d]:\n", audioDecode);
  section(report, "audioRecvParam", s.audioRecvParam, audioRecv);
  section(report, "audioQosParam", s.audioQosParam, audioQos);
  report.append(SdkString::format("%s: %u\n", "audioCategory", s.audioCategory));
  return report.text();
}

void onQuality(const ilive::Statistics& stats, void*) {
  core::inHandler([&] {
    const SdkString report = buildQualityReport(stats);
    LiveManager& m = LiveManager::instance();
    m.context.raise(m.qualityparam, std::string(report.c_str()));
  });
}

}  // namespace brisora
