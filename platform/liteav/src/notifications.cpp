// The notifications that commands send to the registered callbacks: the
// cloud's events, pusher and VOD player notices, audio frames.
#include "commands.h"
#include "standin_common/frame_content.h"

namespace liteav_standin {

// Runs a notification on the events worker, waiting for it or not; true.
bool onEvents(const std::function<void()>& task, bool wait) {
  Worker& events = State::get().events;
  if (wait)
    events.run(task);
  else
    events.post(task);
  return true;
}

bool pusherCommand(Words& w, bool wait) {
  int64_t n;
  std::string what;
  if (!w.integer(0, &n, "a pusher number") || !w.text(1, &what, "event, status or device")) return false;
  int64_t eventId = 0, deviceType = 0;
  bool added = false;
  if (what == "event" && !w.integer(2, &eventId, "an event id")) return false;
  if (what == "device" && (!w.integer(2, &deviceType, "a device type") || !boolWord(w, 3, &added))) return false;
  if (what != "event" && what != "status" && what != "device") return w.fail("pusher: unknown notification " + what);
  std::vector<std::string> keys, values;
  for (auto& [k, t] : w.keyed) keys.push_back(k), values.push_back(t.text());
  State& s = State::get();
  {
    std::shared_lock<std::shared_mutex> lock(s.delivery);
    auto it = s.pushers.find(int(n));
    void* data = nullptr;
    const auto gone = s.departedPushers.find(int(n));
    const bool departed = it == s.pushers.end() && gone != s.departedPushers.end() && gone->second.first;
    if (!departed && (it == s.pushers.end() || !pusherCallback(it->second, &data)))
      return w.fail("pusher has no callback");
  }
  auto task = [n, what, eventId, deviceType, added, keys, values] {
    State& st = State::get();
    void* data = nullptr;
    ITXLivePusherCallback* cb = nullptr;
    {
      std::shared_lock<std::shared_mutex> lock(st.delivery);
      auto it = st.pushers.find(int(n));
      if (it != st.pushers.end()) {
        cb = pusherCallback(it->second, &data);
      } else {
        // Destroyed: a thread on its way out still calls what it last had.
        auto gone = st.departedPushers.find(int(n));
        if (gone == st.departedPushers.end()) return;
        cb = gone->second.first;
        data = gone->second.second;
      }
    }
    if (!cb) return;  // called with no lock held
    std::vector<const char*> k, v;
    for (auto& x : keys) k.push_back(x.c_str());
    for (auto& x : values) v.push_back(x.c_str());
    if (what == "event")
      cb->onEventCallback(int(eventId), int(k.size()), k.data(), v.data(), data);
    else if (what == "status")
      cb->onStatusUpdate(int(k.size()), k.data(), v.data(), data);
    else
      cb->onDeviceChange(int(deviceType), added, data);
  };
  return onEvents(task, wait);
}

// audio-frame captured|mixed|play ["id"] [samples=N] [rate=R] [channels=C] [values=S,... | file="F"]:
// 16-bit PCM, the given samples or a quiet ramp.
bool audioFrameCommand(Words& w, bool wait) {
  std::string which, id;
  if (!w.text(0, &which, "captured, play or mixed")) return false;
  if (which != "captured" && which != "play" && which != "mixed") return w.fail("audio-frame: captured, play or mixed");
  if (which == "play" && !w.text(1, &id, "a user id")) return false;
  // The samples: given values or a file's bytes, repeated to the frame's
  // length; otherwise a saw-tooth ramp.
  std::vector<int16_t> given;
  if (w.has("values") && w.has("file")) return w.fail("audio-frame takes values= or file=");
  if (w.has("values")) {
    for (const std::string& text : w.keyed["values"].values) {
      int64_t v;
      if (!toInt(text, &v) || v < -32768 || v > 32767) return w.fail("values= expects 16-bit samples, not " + text);
      given.push_back(int16_t(v));
    }
  } else if (w.has("file")) {
    std::vector<uint8_t> bytes;
    if (!standin_common::readFile(w.keyed["file"].text(), &bytes, w.error)) return false;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) given.push_back(int16_t(bytes[i] | bytes[i + 1] << 8));
  }
  int64_t samples, rate, channels;
  if (!w.keyInt("rate", &rate, 48000) || !w.keyInt("channels", &channels, 1) || channels < 1 ||
      !w.keyInt("samples", &samples, given.empty() ? 480 : int64_t(given.size() / size_t(channels))))
    return w.fail("audio-frame: bad samples=, rate= or channels=");
  if (samples < 0 || channels < 1 || samples * channels > (1 << 20)) return w.fail("audio-frame: bad size");
  State& s = State::get();
  {
    std::shared_lock<std::shared_mutex> lock(s.delivery);
    if (!s.audioFrames) return w.fail("no audio frame callback registered");
  }
  auto task = [which, id, samples, rate, channels, given] {
    State& st = State::get();
    ITRTCAudioFrameCallback* callback = nullptr;
    {
      std::shared_lock<std::shared_mutex> lock(st.delivery);
      callback = st.audioFrames;
    }
    if (!callback) return;  // called with no lock held
    std::vector<int16_t> pcm(size_t(samples * channels));
    for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = given.empty() ? int16_t((i % 64) * 16) : given[i % given.size()];
    TRTCAudioFrame frame;
    frame.audioFormat = TRTCAudioFrameFormatPCM;
    frame.data = reinterpret_cast<char*>(pcm.data());
    frame.length = uint32_t(pcm.size() * 2);
    frame.sampleRate = uint32_t(rate);
    frame.channel = uint32_t(channels);
    if (which == "captured") callback->onCapturedAudioFrame(&frame);
    else if (which == "play") callback->onPlayAudioFrame(&frame, id.c_str());
    else callback->onMixedPlayAudioFrame(&frame);
  };
  return onEvents(task, wait);
}

bool vodCommand(Words& w, bool wait) {
  int64_t n, value = 0;
  std::string what;
  if (!w.integer(0, &n, "a VOD player number") || !w.text(1, &what, "a notification")) return false;
  const bool needsValue = what == "started" || what == "progress" || what == "stopped" || what == "error";
  if (needsValue && !w.integer(2, &value, "a value")) return false;
  if (!needsValue && what != "paused" && what != "resumed") return w.fail("vod: unknown notification " + what);
  State& s = State::get();
  {
    std::shared_lock<std::shared_mutex> lock(s.delivery);
    auto it = s.vodPlayers.find(int(n));
    const auto gone = s.departedVodPlayers.find(int(n));
    const bool departed = it == s.vodPlayers.end() && gone != s.departedVodPlayers.end() && gone->second;
    if (!departed && (it == s.vodPlayers.end() || !vodCallback(it->second))) return w.fail("VOD player has no callback");
  }
  auto task = [n, what, value] {
    State& st = State::get();
    ITXVodPlayerCallback* cb = nullptr;
    {
      std::shared_lock<std::shared_mutex> lock(st.delivery);
      auto it = st.vodPlayers.find(int(n));
      if (it != st.vodPlayers.end()) {
        cb = vodCallback(it->second);
      } else {
        auto gone = st.departedVodPlayers.find(int(n));  // a thread on its way out
        if (gone == st.departedVodPlayers.end()) return;
        cb = gone->second;
      }
    }
    if (!cb) return;  // called with no lock held
    if (what == "started") cb->onVodPlayerStarted(uint64_t(value));
    else if (what == "progress") cb->onVodPlayerProgress(uint64_t(value));
    else if (what == "paused") cb->onVodPlayerPaused();
    else if (what == "resumed") cb->onVodPlayerResumed();
    else if (what == "stopped") cb->onVodPlayerStoped(int(value));
    else cb->onVodPlayerError(int(value));
  };
  return onEvents(task, wait);
}

bool cloudCommand(const std::string& verb, Words& w, bool wait, bool* known) {
  *known = true;
  std::string* error = w.error;
  int64_t a = 0, b = 0;
  std::string id, text;
  if (verb == "error" || verb == "warning") {
    if (!w.integer(0, &a, "a code") || !w.text(1, &text, "a message")) return false;
    const bool isError = verb == "error";
    return fireCloud(
        [isError, a, text](ITRTCCloudCallback* cb) {
          if (isError)
            cb->onError(int(a), text.c_str(), nullptr);
          else
            cb->onWarning(int(a), text.c_str(), nullptr);
        },
        wait, error, &w);
  }
  if (verb == "enter-room") {
    if (!w.integer(0, &a, "milliseconds")) return false;
    return fireCloud([a](ITRTCCloudCallback* cb) { cb->onEnterRoom(a); }, wait, error, &w);
  }
  if (verb == "exit-room") {
    if (!w.integer(0, &a, "a reason")) return false;
    return fireCloud([a](ITRTCCloudCallback* cb) { cb->onExitRoom(int(a)); }, wait, error, &w);
  }
  if (verb == "user-enter") {
    if (!w.text(0, &id, "a user id")) return false;
    return fireCloud([id](ITRTCCloudCallback* cb) { cb->onUserEnter(id.c_str()); }, wait, error, &w);
  }
  if (verb == "user-exit") {
    if (!w.text(0, &id, "a user id") || !w.integer(1, &a, "a reason")) return false;
    return fireCloud([id, a](ITRTCCloudCallback* cb) { cb->onUserExit(id.c_str(), int(a)); }, wait, error, &w);
  }
  if (verb == "video-available" || verb == "substream-available" || verb == "audio-available") {
    bool on;
    if (!w.text(0, &id, "a user id") || !boolWord(w, 1, &on)) return false;
    const bool nullId = !w.positional[0].quoted && id == "null";
    const int which = verb == "video-available" ? 0 : verb == "substream-available" ? 1 : 2;
    return fireCloud(
        [id, on, which, nullId](ITRTCCloudCallback* cb) {
          const char* p = nullId ? nullptr : id.c_str();
          if (which == 0) cb->onUserVideoAvailable(p, on);
          else if (which == 1) cb->onUserSubStreamAvailable(p, on);
          else cb->onUserAudioAvailable(p, on);
        },
        wait, error, &w);
  }
  if (verb == "volume") {
    struct Entry {
      std::string id;
      bool nullId;  // an unquoted null: the SDK passes no user id
      uint32_t volume;
    };
    std::vector<Entry> entries;
    if (w.positional.size() % 2) return w.fail("volume expects pairs of user id and volume");
    for (size_t i = 0; i < w.positional.size(); i += 2) {
      int64_t v;
      if (!w.integer(i + 1, &v, "a volume")) return false;
      const bool nullId = !w.positional[i].quoted && w.positional[i].text() == "null";
      entries.push_back({w.positional[i].text(), nullId, uint32_t(v)});
    }
    int64_t total, count;
    if (!w.keyInt("total", &total, 0) || !w.keyInt("count", &count, int64_t(entries.size()))) return false;
    return fireCloud(
        [entries, total, count](ITRTCCloudCallback* cb) {
          std::vector<TRTCVolumeInfo> v(entries.size() + 1);
          for (size_t i = 0; i < entries.size(); ++i)
            v[i].userId = entries[i].nullId ? nullptr : entries[i].id.c_str(), v[i].volume = entries[i].volume;
          cb->onUserVoiceVolume(entries.empty() ? nullptr : v.data(), uint32_t(count), uint32_t(total));
        },
        wait, error, &w);
  }
  if (verb == "speed-test") {
    int64_t rtt, finished, total, quality;
    if (!w.text(0, &text, "a server address") || !w.keyInt("rtt", &rtt, 0) || !w.keyInt("finished", &finished, 1) ||
        !w.keyInt("total", &total, 1) || !w.keyInt("quality", &quality, TRTCQuality_Good))
      return false;
    return fireCloud(
        [text, rtt, finished, total, quality](ITRTCCloudCallback* cb) {
          TRTCSpeedTestResult r;
          r.ip = text.c_str();
          r.quality = static_cast<TRTCQuality>(quality);
          r.rtt = int(rtt);
          cb->onSpeedTest(r, uint32_t(finished), uint32_t(total));
        },
        wait, error, &w);
  }
  if (verb == "first-frame") {
    uint32_t fw = 0, fh = 0;
    if (!w.text(0, &id, "a user id") || w.positional.size() < 2 || !toSize(w.positional[1].text(), &fw, &fh))
      return w.fail("first-frame expects a user id and WIDTHxHEIGHT");
    int kind = w.has("kind") ? streamTypeOf(w.keyed["kind"].text()) : 0;
    return fireCloud(
        [id, kind, fw, fh](ITRTCCloudCallback* cb) {
          cb->onFirstVideoFrame(id.c_str(), static_cast<TRTCVideoStreamType>(kind), fw, fh);
        },
        wait, error, &w);
  }
  if (verb == "network-quality") {
    if (!w.integer(0, &a, "the local quality")) return false;
    std::vector<std::pair<std::string, int>> remote;
    for (size_t i = 1; i + 1 < w.positional.size(); i += 2) {
      int64_t q;
      if (!w.integer(i + 1, &q, "a quality")) return false;
      remote.emplace_back(w.positional[i].text(), int(q));
    }
    return fireCloud(
        [a, remote](ITRTCCloudCallback* cb) {
          TRTCQualityInfo local;
          local.userId = "";
          local.quality = static_cast<TRTCQuality>(a);
          std::vector<TRTCQualityInfo> r(remote.size() + 1);
          for (size_t i = 0; i < remote.size(); ++i)
            r[i].userId = remote[i].first.c_str(), r[i].quality = static_cast<TRTCQuality>(remote[i].second);
          cb->onNetworkQuality(local, r.data(), uint32_t(remote.size()));
        },
        wait, error, &w);
  }
  if (verb == "statistics") {
    TRTCStatistics st;
    int64_t v;
    if (!w.keyInt("up-loss", &v, 0)) return false;
    st.upLoss = uint32_t(v);
    if (!w.keyInt("down-loss", &v, 0)) return false;
    st.downLoss = uint32_t(v);
    if (!w.keyInt("app-cpu", &v, 0)) return false;
    st.appCpu = uint32_t(v);
    if (!w.keyInt("system-cpu", &v, 0)) return false;
    st.systemCpu = uint32_t(v);
    if (!w.keyInt("rtt", &v, 0)) return false;
    st.rtt = uint32_t(v);
    if (!w.keyInt("received", &v, 0)) return false;
    st.receivedBytes = uint32_t(v);
    if (!w.keyInt("sent", &v, 0)) return false;
    st.sentBytes = uint32_t(v);
    return fireCloud([st](ITRTCCloudCallback* cb) { cb->onStatistics(st); }, wait, error, &w);
  }
  if (verb == "connection") {
    if (!w.text(0, &text, "lost, retrying or recovered")) return false;
    if (text != "lost" && text != "retrying" && text != "recovered") return w.fail("connection: lost, retrying or recovered");
    return fireCloud(
        [text](ITRTCCloudCallback* cb) {
          if (text == "lost") cb->onConnectionLost();
          else if (text == "retrying") cb->onTryToReconnect();
          else cb->onConnectionRecovery();
        },
        wait, error, &w);
  }
  if (verb == "camera-ready") return fireCloud([](ITRTCCloudCallback* cb) { cb->onCameraDidReady(); }, wait, error, &w);
  if (verb == "mic-ready") return fireCloud([](ITRTCCloudCallback* cb) { cb->onMicDidReady(); }, wait, error, &w);
  if (verb == "device-change") {
    if (!w.text(0, &id, "a device id") || !w.integer(1, &a, "a device type") || !w.integer(2, &b, "a state"))
      return false;
    return fireCloud(
        [id, a, b](ITRTCCloudCallback* cb) {
          cb->onDeviceChange(id.c_str(), static_cast<TRTCDeviceType>(a), static_cast<TRTCDeviceState>(b));
        },
        wait, error, &w);
  }
  if (verb == "screen-capture") {
    if (!w.text(0, &text, "started, paused, resumed or stopped")) return false;
    if (text != "started" && !w.integer(1, &a, "a reason")) return false;
    if (text != "started" && text != "paused" && text != "resumed" && text != "stopped")
      return w.fail("screen-capture: started, paused, resumed or stopped");
    return fireCloud(
        [text, a](ITRTCCloudCallback* cb) {
          if (text == "started") cb->onScreenCaptureStarted();
          else if (text == "paused") cb->onScreenCapturePaused(int(a));
          else if (text == "resumed") cb->onScreenCaptureResumed(int(a));
          else cb->onScreenCaptureStoped(int(a));
        },
        wait, error, &w);
  }
  *known = false;
  return false;
}

}  // namespace liteav_standin
