// The commands that hand media to the extension's handlers: video frames
// (the test picture, one colour, Y/U/V values, a file or a PNG picture),
// statistics records with chosen values, and audio frames of given samples.
#include <algorithm>

#include "standin_common/frame_content.h"
#include "command_words.h"
#include "state.h"

namespace ilive::standin {
namespace {

constexpr const char* kFrameUsage =
    "frame local|remote \"user\" WxH [kind=N] [format=i420|rgb24|N] [flag=N] [value=N] [tick=N] [size=N] "
    "[color=RRGGBB | yuv=Y,U,V | hex=\"HEX\" | file=\"F\" | png=\"F.png\"]";

bool frameCommand(const std::vector<std::string>& w, std::string* error) {
  if (w.size() < 3 || (w[1] != "local" && w[1] != "remote")) return fail(error, kFrameUsage);
  std::string user;
  if (!unquote(w[2], &user, error)) return false;
  std::map<std::string, std::string> opts;
  std::vector<std::string> rest;
  options(w, 3, &opts, &rest);
  standin_common::FrameContent content;
  for (const auto& [key, value] : opts) {
    std::vector<std::string> values;
    bool known = false;
    if (!textList(value, &values, error) || !standin_common::contentOption(key, values, &content, &known, error))
      return false;
    if (!known && key != "kind" && key != "format" && key != "flag" && key != "value" && key != "tick" && key != "size")
      return fail(error, "frame: unknown option " + key + "= (" + kFrameUsage + ")");
  }
  const bool png = content.kind == standin_common::FrameContent::Kind::Png;
  if (rest.size() > 1 || (rest.empty() && !png)) return fail(error, "frame needs one WxH size");
  int64_t width = 0, height = 0;
  if (!rest.empty()) {
    const size_t x = rest[0].find('x');
    if (x == std::string::npos || !number(rest[0].substr(0, x), &width) || !number(rest[0].substr(x + 1), &height) ||
        width < 0 || height < 0 || width > 8192 || height > 8192)
      return fail(error, "bad frame size: " + rest[0]);
  }
  int64_t kind = 1, flag = 0, value = 0, tick = 0, format = COLOR_FORMAT_I420, size = -1;
  auto f = opts.find("format");
  if (f != opts.end()) {
    if (f->second == "i420")
      format = COLOR_FORMAT_I420;
    else if (f->second == "rgb24")
      format = COLOR_FORMAT_RGB24;
    else if (!number(f->second, &format))
      return fail(error, "bad format: " + f->second);
  }
  if (!intOption(opts, "kind", &kind, error) || !intOption(opts, "flag", &flag, error) ||
      !intOption(opts, "value", &value, error) || !intOption(opts, "tick", &tick, error) ||
      !intOption(opts, "size", &size, error))
    return false;
  if (size > (int64_t(1) << 30)) return fail(error, "size: too large for the stand-in");
  std::vector<uint8_t> pixels;
  VideoFrame frame;
  if (content.kind == standin_common::FrameContent::Kind::Pattern) {
    frame = makeFrame(user, static_cast<int32_t>(kind), static_cast<int32_t>(format), static_cast<uint32_t>(width),
                      static_cast<uint32_t>(height), static_cast<uint32_t>(tick), &pixels);
  } else {
    uint32_t w32 = static_cast<uint32_t>(width), h32 = static_cast<uint32_t>(height);
    const auto layout =
        format == COLOR_FORMAT_RGB24 ? standin_common::PixelFormat::Bgr24 : standin_common::PixelFormat::I420;
    if (!standin_common::drawContent(content, layout, &w32, &h32, &pixels, error)) return false;
    if (pixels.size() > 0xFFFFFFFFu) return fail(error, "frame too large for the stand-in");
    frame.identifier = SdkString(user.c_str(), user.size());
    frame.colorFormat = static_cast<int32_t>(format);
    frame.width = w32;
    frame.height = h32;
    frame.sourceKind = static_cast<int32_t>(kind);
    frame.timestamp = static_cast<uint64_t>(tick);
    frame.dataSize = static_cast<uint32_t>(pixels.size());
  }
  if (size >= 0) {
    if (static_cast<uint64_t>(size) > pixels.size()) pixels.resize(static_cast<size_t>(size), 0);
    frame.dataSize = static_cast<uint32_t>(size);
  }
  frame.data = pixels.empty() ? nullptr : pixels.data();
  frame.flag = static_cast<uint8_t>(flag);
  frame.value = static_cast<uint32_t>(value);
  const bool delivered = w[1] == "local" ? localFrame(frame) : remoteFrame(frame);
  return needHandler(delivered, w[1] == "local" ? "local-video" : "remote-video", error);
}

bool statsCommand(const std::vector<std::string>& w, std::string* error) {
  std::map<std::string, std::string> opts;
  std::vector<std::string> rest;
  options(w, 1, &opts, &rest);
  if (!rest.empty()) return fail(error, "stats: unexpected " + rest[0] + " (stats [lists=N] [LIST=N] [FIELD=VALUE ...])");
  std::map<std::string, std::vector<std::string>> fields;
  std::map<std::string, uint32_t> ownLengths;  // LIST=N
  size_t longest = 1;
  for (const auto& [key, value] : opts) {
    if (key == "lists") continue;
    const auto& lists = statisticsLists();
    if (std::find(lists.begin(), lists.end(), key) != lists.end()) {
      int64_t n = -1;
      if (!number(value, &n) || n < 0 || n > 100) return fail(error, "stats: " + key + "=: a list holds 0 to 100 elements");
      ownLengths[key] = static_cast<uint32_t>(n);
      continue;
    }
    if (!textList(value, &fields[key], error)) return false;
    if (isStatisticsListField(key)) longest = std::max(longest, fields[key].size());
  }
  int64_t lists = static_cast<int64_t>(longest);
  if (!intOption(opts, "lists", &lists, error)) return false;
  if (lists < 0 || lists > 100) return fail(error, "lists must be 0 to 100");
  uint32_t most = static_cast<uint32_t>(lists);
  for (const auto& [list, n] : ownLengths) most = std::max(most, n);
  Statistics stats = makeStatistics(most);
  for (const std::string& list : statisticsLists())
    keepFirstElements(stats, list, ownLengths.count(list) ? ownLengths[list] : static_cast<uint32_t>(lists));
  for (const auto& [key, values] : fields)
    if (!setStatisticsField(stats, key, values, error)) return false;
  return needHandler(statistics(stats), "quality", error);
}

constexpr const char* kAudioUsage =
    "audio KIND \"user\" [rate=N] [channels=N] [size=N] [count=N] [amplitude=N | values=S,S,... | file=\"F\"]";

bool audioCommand(const std::vector<std::string>& w, std::string* error) {
  int64_t kind = 0;
  std::string user;
  if (w.size() < 3 || !number(w[1], &kind) || !unquote(w[2], &user, error)) return fail(error, kAudioUsage);
  std::map<std::string, std::string> opts;
  std::vector<std::string> rest;
  options(w, 3, &opts, &rest);
  if (!rest.empty()) return fail(error, std::string("audio: unexpected ") + rest[0] + " (" + kAudioUsage + ")");
  for (const auto& [key, value] : opts)
    if (key != "rate" && key != "channels" && key != "size" && key != "count" && key != "amplitude" &&
        key != "values" && key != "file")
      return fail(error, "audio: unknown option " + key + "= (" + kAudioUsage + ")");
  if (opts.count("values") + opts.count("file") + opts.count("amplitude") > 1)
    return fail(error, "audio takes one of amplitude=, values= and file=");
  // The samples: given values (repeated to the size), a file's bytes, or a
  // square wave whose every sample's magnitude is the amplitude.
  std::vector<uint8_t> block;
  if (opts.count("values")) {
    std::vector<int64_t> values;
    if (!numberList(opts["values"], &values)) return fail(error, "values= expects samples S,S,... (-32768 to 32767)");
    for (int64_t v : values) {
      if (v < -32768 || v > 32767) return fail(error, "values=: " + std::to_string(v) + " is no 16-bit sample");
      block.push_back(static_cast<uint8_t>(v & 0xff));
      block.push_back(static_cast<uint8_t>((v >> 8) & 0xff));
    }
  } else if (opts.count("file")) {
    std::string path;
    if (!unquote(opts["file"], &path, error) || !standin_common::readFile(path, &block, error)) return false;
  }
  int64_t rate = 48000, channels = 1, size = opts.count("amplitude") || block.empty() ? 1920 : int64_t(block.size());
  int64_t amplitude = 1000, count = 1;
  if (!intOption(opts, "rate", &rate, error) || !intOption(opts, "size", &size, error) ||
      !intOption(opts, "channels", &channels, error) || !intOption(opts, "amplitude", &amplitude, error) ||
      !intOption(opts, "count", &count, error))
    return false;
  if (size < 0 || size > (1 << 24) || count < 0 || count > 10000) return fail(error, "audio: size or count out of range");
  std::vector<uint8_t> data(static_cast<size_t>(size));
  for (size_t i = 0; i < data.size(); ++i) {
    if (!block.empty()) {
      data[i] = block[i % block.size()];
    } else if (i % 2 == 0 && i + 1 < data.size()) {
      const int16_t s = static_cast<int16_t>((i / 2) % 2 ? -amplitude : amplitude);
      data[i] = static_cast<uint8_t>(s & 0xff);
      data[i + 1] = static_cast<uint8_t>((s >> 8) & 0xff);
    }
  }
  AudioFrame frame;
  frame.identifier = SdkString(user.c_str(), user.size());
  frame.sampleRate = static_cast<uint32_t>(rate);
  frame.channelCount = static_cast<uint32_t>(channels);
  frame.dataSize = static_cast<uint32_t>(size);
  frame.data = data.data();
  for (int64_t i = 0; i < count; ++i)
    if (!audioFrame(static_cast<int32_t>(kind), frame)) return fail(error, "no audio-data handler for that kind");
  return true;
}

}  // namespace

void addMediaVerbs(std::map<std::string, Verb>& v) {
  v["frame"] = frameCommand;
  v["stats"] = statsCommand;
  v["audio"] = audioCommand;
}

}  // namespace ilive::standin
