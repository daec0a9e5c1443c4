// The quality report: the SDK's statistics record as one text, the level of
// the "qualityparam" event.
#include <string>

#include "core/context.h"
#include "core/edge.h"
#include "ilive/brisora.h"
#include "ilive/live_manager.h"

namespace brisora {
namespace {

using ilive::SdkString;

// Builds a text line by line; each line is formatted on its own and appended.
class Lines {
 public:
  explicit Lines(const char* indent = "") : indent_(indent) {}

  void u(const char* name, uint32_t v) { text_.append(SdkString::format("%s%s: %u\n", indent_, name, v)); }
  void d(const char* name, int v) { text_.append(SdkString::format("%s%s: %d\n", indent_, name, v)); }
  void s(const char* name, const SdkString& v) {
    text_.append(SdkString::format("%s%s: %s\n", indent_, name, v.c_str()));
  }
  void f(const char* name, float v) {
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
  l.u("kbpsSend", n.kbpsSend);
  l.u("lossRateSend", n.lossRateSend);
  l.u("lossRateSendUdt", n.lossRateSendUdt);
  l.u("packetSend", n.packetSend);
  l.u("lossModelSend", n.lossModelSend);
  l.u("kbpsRecv", n.kbpsRecv);
  l.u("lossRateRecvUdt", n.lossRateRecvUdt);
  l.u("lossRateRecv", n.lossRateRecv);
  l.u("packetRecv", n.packetRecv);
  l.u("unsendUdt", n.unsendUdt);
  l.u("interfaceIP", n.interfaceIP);
  l.u("interfacePort", n.interfacePort);
  l.u("clientIP", n.clientIP);
  l.d("isTcp", n.isTcp);
  l.u("lossModelRecv", n.lossModelRecv);
  l.u("cpuRateApp", n.cpuRateApp);
  l.u("cpuRateSys", n.cpuRateSys);
  l.u("rtt", n.rtt);
  l.u("udtSMode", n.udtSMode);
  l.u("udtRMode", n.udtRMode);
  l.u("udtSendq", n.udtSendq);
  l.u("udtRecvq", n.udtRecvq);
  l.d("udtEnable", n.udtEnable);
  return l.text();
}

SdkString videoSize(const ilive::VideoSizeStats& v) {
  Lines l(kIndent);
  l.u("width", v.width);
  l.u("height", v.height);
  l.u("fps", v.fps);
  return l.text();
}

SdkString gop(const ilive::GopStats& g) {
  Lines l(kIndent2);
  l.u("reffrmInterval", g.reffrmInterval);
  l.u("encIFrmNum", g.encIFrmNum);
  l.u("reqIFrmNum", g.reqIFrmNum);
  l.u("recvNACKNum", g.recvNACKNum);
  l.u("recvFailedFrmInfNum", g.recvFailedFrmInfNum);
  l.u("lossrate2S", g.lossrate2S);
  l.u("weigth20SLossRate", g.weigth20SLossRate);
  return l.text();
}

SdkString videoEncode(const ilive::VideoEncodeStats& e) {
  Lines l(kIndent);
  l.u("viewType", e.viewType);
  l.u("width", e.width);
  l.u("height", e.height);
  l.u("fps", e.fps);
  l.u("bitrate", e.bitrate);
  l.u("angle", e.angle);
  l.u("encodeType", e.encodeType);
  l.u("hw", e.hw);
  l.header("gopparam");
  l.append(gop(e.gopparam));
  return l.text();
}

SdkString videoSend(const ilive::VideoSendStats& v) {
  Lines l(kIndent);
  l.u("lossRate", v.lossRate);
  l.u("iFec", v.iFec);
  l.u("spFec", v.spFec);
  l.u("pkt", v.pkt);
  l.u("STnSBGainLoss12s", v.STnSBGainLoss12s);
  l.u("STnSBDecLostMaxConcal12s", v.STnSBDecLostMaxConcal12s);
  l.u("STnSBBreakSmallBreakContiPlc12s", v.STnSBBreakSmallBreakContiPlc12s);
  return l.text();
}

SdkString videoDecode(const ilive::VideoDecodeStats& v) {
  Lines l(kIndent);
  l.s("userId", v.userId);
  l.u("viewType", v.viewType);
  l.u("width", v.width);
  l.u("height", v.height);
  l.u("fps", v.fps);
  l.u("bitrate", v.bitrate);
  l.u("hw", v.hw);
  l.u("codecType", v.codecType);
  l.u("hwdecDelay", v.hwdecDelay);
  return l.text();
}

SdkString videoRecv(const ilive::VideoRecvStats& v) {
  Lines l(kIndent);
  l.f("lossRate", v.lossRate);
  l.u("dwJitterR", v.dwJitterR);
  l.u("dwBRR", v.dwBRR);
  return l.text();
}

SdkString videoQos(const ilive::VideoQosStats& q) {
  Lines l(kIndent);
  l.u("width", q.width);
  l.u("height", q.height);
  l.u("fps", q.fps);
  l.u("bitrate", q.bitrate);
  l.u("encodeType", q.encodeType);
  l.u("minQp", q.minQp);
  l.u("maxQp", q.maxQp);
  l.u("fectype", q.fectype);
  l.u("iFecPrecent", q.iFecPrecent);
  l.u("spFecPrecent", q.spFecPrecent);
  l.u("pFecPrecent", q.pFecPrecent);
  l.u("iMtu", q.iMtu);
  l.u("spMtu", q.spMtu);
  l.u("pMtu", q.pMtu);
  l.u("iFecMinPkg", q.iFecMinPkg);
  l.u("spFecMinPkg", q.spFecMinPkg);
  l.u("pFecMinPkg", q.pFecMinPkg);
  l.u("iFecMinSize", q.iFecMinSize);
  l.u("spFecMinSize", q.spFecMinSize);
  l.u("pFecMinSize", q.pFecMinSize);
  l.u("gopType", q.gopType);
  l.u("gop", q.gop);
  l.u("encMode", q.encMode);
  l.u("hw", q.hw);
  return l.text();
}

SdkString audioCapture(const ilive::AudioCaptureStats& a) {
  Lines l(kIndent);
  l.u("sampleRate", a.sampleRate);
  l.u("channelCount", a.channelCount);
  return l.text();
}

SdkString audioEncode(const ilive::AudioEncodeStats& a) {
  Lines l(kIndent);
  l.u("encodeType", a.encodeType);
  l.u("encodeBitrate", a.encodeBitrate);
  l.u("vad", a.vad);
  return l.text();
}

SdkString audioSend(const ilive::AudioSendStats& a) {
  Lines l(kIndent);
  l.u("lossRate", a.lossRate);
  l.u("FEC", a.FEC);
  l.u("jitter", a.jitter);
  l.u("sendBr", a.sendBr);
  l.u("sendBrUdt", a.sendBrUdt);
  return l.text();
}

SdkString audioDecode(const ilive::AudioDecodeStats& a) {
  Lines l(kIndent);
  l.s("userId", a.userId);
  l.u("decodeType", a.decodeType);
  l.u("sampleRate", a.sampleRate);
  l.u("channelCount", a.channelCount);
  return l.text();
}

SdkString audioRecv(const ilive::AudioRecvStats& a) {
  Lines l(kIndent);
  l.u("playDelay", a.playDelay);
  l.u("lossRate", a.lossRate);
  l.u("recvBr", a.recvBr);
  return l.text();
}

SdkString audioQos(const ilive::AudioQosStats& a) {
  Lines l(kIndent);
  l.u("sampleRate", a.sampleRate);
  l.u("channelCount", a.channelCount);
  l.u("codecType", a.codecType);
  l.u("bitrate", a.bitrate);
  l.u("aecEnable", a.aecEnable);
  l.u("agcEnable", a.agcEnable);
  l.u("fec", a.fec);
  l.u("vad", a.vad);
  l.u("packDuration", a.packDuration);
  l.u("recn", a.recn);
  l.u("recm", a.recm);
  l.u("audioMtu", a.audioMtu);
  l.u("jitterMinDelay", a.jitterMinDelay);
  l.u("jitterMinMaxDelay", a.jitterMinMaxDelay);
  l.u("jitterMaxMaxDelay", a.jitterMaxMaxDelay);
  l.u("jitterDropScale", a.jitterDropScale);
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
    core::dispatchStatus(m.context.get(), m.qualityparam, std::string(report.c_str()));
  });
}

}  // namespace brisora
