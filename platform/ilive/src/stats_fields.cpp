// The fields of the statistics record by name, for `stats FIELD=VALUE`: the
// names the quality report prints, dotted below their record or list.
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <functional>
#include <limits>
#include <mutex>
#include <type_traits>

#include "command_words.h"

namespace ilive::standin {
namespace {

using Setter = std::function<bool(Statistics&, const std::vector<std::string>&, std::string*)>;

bool assign(SdkString& field, const std::string& value, std::string*) {
  field = SdkString(value.c_str(), value.size());
  return true;
}

bool assign(float& field, const std::string& value, std::string* error) {
  char* end = nullptr;
  const double v = std::strtod(value.c_str(), &end);
  if (value.empty() || *end) return fail(error, "not a number: " + value);
  field = static_cast<float>(v);
  return true;
}

// A whole number, decimal or 0x hex, of the whole signed or unsigned 64-bit
// range: *negative tells which; false when it is no number. *tooLarge: past
// either end of that range.
bool wholeNumber(const std::string& s, bool* negative, uint64_t* magnitude, bool* tooLarge) {
  *negative = !s.empty() && s[0] == '-';
  const std::string digits = *negative || (!s.empty() && s[0] == '+') ? s.substr(1) : s;
  if (digits.empty() || !std::isxdigit(static_cast<unsigned char>(digits[0]))) return false;
  char* end = nullptr;
  errno = 0;
  *magnitude = std::strtoull(digits.c_str(), &end, 0);
  if (!end || *end) return false;
  *tooLarge = errno == ERANGE || (*negative && *magnitude > uint64_t{1} << 63);
  return true;
}

template <class T>
std::enable_if_t<std::is_integral_v<T>, bool> assign(T& field, const std::string& value, std::string* error) {
  using Limits = std::numeric_limits<T>;
  const auto range = [&] {
    return fail(error, value + " is out of the field's range (" + std::to_string(Limits::min()) + " to " +
                           std::to_string(Limits::max()) + ")");
  };
  bool negative = false, tooLarge = false;
  uint64_t magnitude = 0;
  if (!wholeNumber(value, &negative, &magnitude, &tooLarge)) return fail(error, "not a whole number: " + value);
  if (tooLarge) return range();
  if (negative) {
    if (magnitude == 0) return (field = 0), true;
    // -magnitude in int64_t without overflow: magnitude is at most 2^63.
    const int64_t v = -static_cast<int64_t>(magnitude - 1) - 1;
    if (!Limits::is_signed || v < static_cast<int64_t>(Limits::min())) return range();
    field = static_cast<T>(v);
    return true;
  }
  if (magnitude > static_cast<uint64_t>(Limits::max())) return range();
  field = static_cast<T>(magnitude);
  return true;
}

std::map<std::string, Setter>& table();

template <class Get>
void one(const std::string& name, Get get) {
  table()[name] = [get](Statistics& s, const std::vector<std::string>& values, std::string* error) {
    if (values.size() != 1) return fail(error, "the field takes one value");
    return assign(get(s), values[0], error);
  };
}

// A field of every element of a list: one value for all, or one an element.
template <class List, class Get>
void each(const std::string& name, List list, Get get) {
  table()[name] = [list, get](Statistics& s, const std::vector<std::string>& values, std::string* error) {
    auto& l = list(s);
    if (values.size() > 1 && values.size() > l.size())
      return fail(error, "more values than the list's " + std::to_string(l.size()) + " elements");
    for (uint32_t i = 0; i < l.size() && (values.size() == 1 || i < values.size()); ++i)
      if (!assign(get(l[i]), values[values.size() == 1 ? 0 : i], error)) return false;
    return true;
  };
}

#define ANE_TOP(f) one(#f, [](Statistics& s) -> auto& { return s.f; });
#define ANE_IN(record, f) one(#record "." #f, [](Statistics& s) -> auto& { return s.record.f; });
#define ANE_EACH(list, f) each(#list "." #f, [](Statistics& s) -> auto& { return s.list; }, [](auto& e) -> auto& { return e.f; });

#define ANE_NETWORK(X)                                                                                       \
  X(networkParams, kbpsSend) X(networkParams, lossRateSend) X(networkParams, lossRateSendUdt)                \
  X(networkParams, packetSend) X(networkParams, lossModelSend) X(networkParams, kbpsRecv)                    \
  X(networkParams, lossRateRecvUdt) X(networkParams, lossRateRecv) X(networkParams, packetRecv)              \
  X(networkParams, unsendUdt) X(networkParams, interfaceIP) X(networkParams, interfacePort)                  \
  X(networkParams, clientIP) X(networkParams, isTcp) X(networkParams, lossModelRecv)                         \
  X(networkParams, cpuRateApp) X(networkParams, cpuRateSys) X(networkParams, rtt) X(networkParams, udtSMode) \
  X(networkParams, udtRMode) X(networkParams, udtSendq) X(networkParams, udtRecvq) X(networkParams, udtEnable)
#define ANE_QOS(X, r)                                                                                        \
  X(r, width) X(r, height) X(r, fps) X(r, bitrate) X(r, encodeType) X(r, minQp) X(r, maxQp) X(r, fectype)   \
  X(r, iFecPrecent) X(r, spFecPrecent) X(r, pFecPrecent) X(r, iMtu) X(r, spMtu) X(r, pMtu) X(r, iFecMinPkg) \
  X(r, spFecMinPkg) X(r, pFecMinPkg) X(r, iFecMinSize) X(r, spFecMinSize) X(r, pFecMinSize) X(r, gopType)   \
  X(r, gop) X(r, encMode) X(r, hw)
#define ANE_RECORDS(X)                                                                                             \
  X(videoCaptureParam, width) X(videoCaptureParam, height) X(videoCaptureParam, fps)                               \
  X(videoSendParam, lossRate) X(videoSendParam, iFec) X(videoSendParam, spFec) X(videoSendParam, pkt)              \
  X(videoSendParam, STnSBGainLoss12s) X(videoSendParam, STnSBDecLostMaxConcal12s)                                  \
  X(videoSendParam, STnSBBreakSmallBreakContiPlc12s) X(audioCaptureParam, sampleRate)                             \
  X(audioCaptureParam, channelCount) X(audioEncodeParams, encodeType) X(audioEncodeParams, encodeBitrate)          \
  X(audioEncodeParams, vad) X(audioSendParam, lossRate) X(audioSendParam, FEC) X(audioSendParam, jitter)           \
  X(audioSendParam, sendBr) X(audioSendParam, sendBrUdt) X(audioRecvParam, playDelay) X(audioRecvParam, lossRate)  \
  X(audioRecvParam, recvBr) X(audioQosParam, sampleRate) X(audioQosParam, channelCount) X(audioQosParam, codecType) \
  X(audioQosParam, bitrate) X(audioQosParam, aecEnable) X(audioQosParam, agcEnable) X(audioQosParam, fec)          \
  X(audioQosParam, vad) X(audioQosParam, packDuration) X(audioQosParam, recn) X(audioQosParam, recm)               \
  X(audioQosParam, audioMtu) X(audioQosParam, jitterMinDelay) X(audioQosParam, jitterMinMaxDelay)                  \
  X(audioQosParam, jitterMaxMaxDelay) X(audioQosParam, jitterDropScale)
#define ANE_LISTS(X)                                                                                                  \
  X(videoEncodeParams, viewType) X(videoEncodeParams, width) X(videoEncodeParams, height) X(videoEncodeParams, fps)   \
  X(videoEncodeParams, bitrate) X(videoEncodeParams, angle) X(videoEncodeParams, encodeType) X(videoEncodeParams, hw) \
  X(videoEncodeParams, gopparam.reffrmInterval) X(videoEncodeParams, gopparam.encIFrmNum)                             \
  X(videoEncodeParams, gopparam.reqIFrmNum) X(videoEncodeParams, gopparam.recvNACKNum)                                \
  X(videoEncodeParams, gopparam.recvFailedFrmInfNum) X(videoEncodeParams, gopparam.lossrate2S)                        \
  X(videoEncodeParams, gopparam.weigth20SLossRate) X(videoDecodeParams, userId) X(videoDecodeParams, viewType)        \
  X(videoDecodeParams, width) X(videoDecodeParams, height) X(videoDecodeParams, fps) X(videoDecodeParams, bitrate)    \
  X(videoDecodeParams, hw) X(videoDecodeParams, codecType) X(videoDecodeParams, hwdecDelay)                           \
  X(videoRecvParams, lossRate) X(videoRecvParams, dwJitterR) X(videoRecvParams, dwBRR) X(audioDecodeParams, userId)   \
  X(audioDecodeParams, decodeType) X(audioDecodeParams, sampleRate) X(audioDecodeParams, channelCount)

std::map<std::string, Setter>& table() {
  static std::map<std::string, Setter>* t = nullptr;
  if (t) return *t;
  t = new std::map<std::string, Setter>;
  ANE_TOP(tickCountBegin)
  ANE_TOP(tickCountEnd)
  ANE_TOP(avsdkVersion)
  ANE_TOP(exeCpuRate)
  ANE_TOP(sysCpuRate)
  ANE_TOP(isAnchor)
  ANE_TOP(audioCategory)
  ANE_NETWORK(ANE_IN)
  ANE_RECORDS(ANE_IN)
  ANE_QOS(ANE_IN, videoMainQosParam)
  ANE_QOS(ANE_IN, videoAuxQosParam)
  ANE_LISTS(ANE_EACH)
  return *t;
}

std::mutex& tableMutex() {
  static std::mutex m;
  return m;
}

}  // namespace

bool setStatisticsField(Statistics& stats, const std::string& name, const std::vector<std::string>& values,
                        std::string* error) {
  Setter set;
  {
    std::lock_guard<std::mutex> lock(tableMutex());
    auto it = table().find(name);
    if (it == table().end()) return fail(error, "stats: no field " + name);
    set = it->second;
  }
  if (values.empty()) return fail(error, "stats: " + name + "= needs a value");
  std::string why;
  if (!set(stats, values, &why)) return fail(error, "stats: " + name + ": " + why);
  return true;
}

namespace {

template <class T>
void keepFirst(SdkVector<T>& list, uint32_t count) {
  SdkVector<T> kept;
  for (uint32_t i = 0; i < count && i < list.size(); ++i) kept.push_back(list[i]);
  list = std::move(kept);
}

}  // namespace

const std::vector<std::string>& statisticsLists() {
  static const std::vector<std::string> names = {"videoEncodeParams", "videoDecodeParams", "videoRecvParams",
                                                 "audioDecodeParams"};
  return names;
}

void keepFirstElements(Statistics& stats, const std::string& list, uint32_t count) {
  if (list == "videoEncodeParams") keepFirst(stats.videoEncodeParams, count);
  else if (list == "videoDecodeParams") keepFirst(stats.videoDecodeParams, count);
  else if (list == "videoRecvParams") keepFirst(stats.videoRecvParams, count);
  else if (list == "audioDecodeParams") keepFirst(stats.audioDecodeParams, count);
}

bool isStatisticsListField(const std::string& name) {
  for (const char* list : {"videoEncodeParams.", "videoDecodeParams.", "videoRecvParams.", "audioDecodeParams."})
    if (name.rfind(list, 0) == 0) return true;
  return false;
}

}  // namespace ilive::standin
