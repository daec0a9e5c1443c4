// Device collections, current devices and the screen source list.
#include <algorithm>
#include <cstring>
#include <memory>

#include "objects.h"

namespace liteav_standin {
namespace {

// A collection of devices, logged as <Kind><N>.op(...).
class DeviceCollection : public ITRTCDeviceCollection {
 public:
  DeviceCollection(std::string name, std::vector<std::string> names, std::vector<std::string> ids, bool hasCount,
                   int64_t count)
      : name_(std::move(name)), names_(std::move(names)), ids_(std::move(ids)), hasCount_(hasCount), count_(count) {}
  uint32_t getCount() override {
    called(name_ + ".getCount", "");
    return hasCount_ ? static_cast<uint32_t>(count_) : static_cast<uint32_t>(names_.size());
  }
  // Out of range: null, as a real list that was read past would give nothing usable.
  const char* getDeviceName(uint32_t index) override {
    called(name_ + ".getDeviceName", str(index));
    return index < names_.size() ? names_[index].c_str() : nullptr;
  }
  const char* getDevicePID(uint32_t index) override {
    called(name_ + ".getDevicePID", str(index));
    return index < ids_.size() ? ids_[index].c_str() : nullptr;
  }
  void release() override {
    called(name_ + ".release", "");
    delete this;
  }

 private:
  std::string name_;
  std::vector<std::string> names_;
  std::vector<std::string> ids_;
  bool hasCount_;
  int64_t count_;
};

class DeviceInfo : public ITRTCDeviceInfo {
 public:
  DeviceInfo(std::string name, std::string deviceName, std::string id)
      : name_(std::move(name)), deviceName_(std::move(deviceName)), id_(std::move(id)) {}
  const char* getDeviceName() override {
    called(name_ + ".getDeviceName", "");
    return deviceName_.c_str();
  }
  const char* getDevicePID() override {
    called(name_ + ".getDevicePID", "");
    return id_.c_str();
  }
  void release() override {
    called(name_ + ".release", "");
    delete this;
  }

 private:
  std::string name_;
  std::string deviceName_;
  std::string id_;
};

class SourceList : public ITRTCScreenCaptureSourceList {
 public:
  SourceList(std::string name, std::vector<Source> sources, TXSize thumb, TXSize icon)
      : name_(std::move(name)), sources_(std::move(sources)) {
    for (const Source& src : sources_) {
      Images im;
      uint32_t tw = src.thumbWidth >= 0 ? src.thumbWidth : (thumb.cx > 0 ? thumb.cx : 0);
      uint32_t th = src.thumbHeight >= 0 ? src.thumbHeight : (thumb.cy > 0 ? thumb.cy : 0);
      im.thumbWidth = tw;
      im.thumbHeight = th;
      std::vector<uint8_t> picture;
      if (!src.noThumb && tw > 0 && th > 0 && uint64_t(tw) * th <= (1u << 24)) {
        picture.resize(size_t(tw) * th * 4);
        drawPattern(picture.data(), tw, th, 0, src.id % 4 + 1);
      }
      // The buffer holds exactly the length the image claims (zero bytes
      // after the picture, or the picture cut short), so a copy that reads
      // past it reads past an allocation (AddressSanitizer sees it).
      im.thumbLength = src.thumbLength >= 0 ? uint32_t(src.thumbLength) : uint32_t(picture.size());
      if (!picture.empty() || im.thumbLength > 0) {
        im.thumb.reset(new uint8_t[im.thumbLength]());
        std::copy_n(picture.begin(), std::min<size_t>(picture.size(), im.thumbLength), im.thumb.get());
      }
      uint32_t iw = icon.cx > 0 ? icon.cx : 0, ih = icon.cy > 0 ? icon.cy : 0;
      if (uint64_t(iw) * ih <= (1u << 20)) {
        im.icon.assign(size_t(iw) * ih * 4, 0x80);
        im.iconWidth = iw;
        im.iconHeight = ih;
      }
      images_.push_back(std::move(im));
    }
  }
  uint32_t getCount() override {
    called(name_ + ".getCount", "");
    return uint32_t(sources_.size());
  }
  TRTCScreenCaptureSourceInfo getSourceInfo(uint32_t index) override {
    called(name_ + ".getSourceInfo", str(index));
    TRTCScreenCaptureSourceInfo info;
    if (index >= sources_.size()) return info;
    const Source& src = sources_[index];
    const Images& im = images_[index];
    info.type = static_cast<TRTCScreenCaptureSourceType>(src.type);
    info.sourceId = reinterpret_cast<TXView>(static_cast<intptr_t>(src.id));
    info.sourceName = src.name.c_str();
    if (!src.noThumb) {
      info.thumbBGRA.buffer = reinterpret_cast<const char*>(im.thumb.get());
      info.thumbBGRA.length = im.thumbLength;
    }
    info.thumbBGRA.width = im.thumbWidth;
    info.thumbBGRA.height = im.thumbHeight;
    info.iconBGRA.buffer = im.icon.empty() ? nullptr : reinterpret_cast<const char*>(im.icon.data());
    info.iconBGRA.length = uint32_t(im.icon.size());
    info.iconBGRA.width = im.iconWidth;
    info.iconBGRA.height = im.iconHeight;
    return info;
  }
  void release() override {
    called(name_ + ".release", "");
    delete this;
  }

 private:
  struct Images {
    std::unique_ptr<uint8_t[]> thumb;  // exactly thumbLength bytes; null without a picture
    uint32_t thumbLength = 0, thumbWidth = 0, thumbHeight = 0;
    std::vector<uint8_t> icon;
    uint32_t iconWidth = 0, iconHeight = 0;
  };
  std::string name_;
  std::vector<Source> sources_;
  std::vector<Images> images_;
};

}  // namespace

extern const DeviceKind kCameras{"getCameraDevicesList", "getCurrentCameraDevice", "CameraList", "CurrentCamera", "camera",
                          "Stand-in Camera"};
extern const DeviceKind kMics{"getMicDevicesList", "getCurrentMicDevice", "MicList", "CurrentMic", "mic",
                       "Stand-in Microphone"};
extern const DeviceKind kSpeakers{"getSpeakerDevicesList", "getCurrentSpeakerDevice", "SpeakerList", "CurrentSpeaker",
                           "speaker", "Stand-in Speakers"};

namespace {

std::vector<std::string> namesOf(const AnswerPtr& a, const char* defaultName) {
  if (a && a->hasList) return a->list;
  return {defaultName};
}
std::vector<std::string> idsOf(const AnswerPtr& a, const std::vector<std::string>& names, const char* prefix) {
  std::vector<std::string> ids;
  for (size_t i = 0; i < names.size(); ++i) {
    if (a && i < a->ids.size())
      ids.push_back(a->ids[i]);
    else
      ids.push_back(std::string(prefix) + "-" + std::to_string(i));
  }
  return ids;
}

}  // namespace

ITRTCDeviceCollection* makeCollection(const std::string& logName, const std::string& answerKey, const char* listName,
                                      const DeviceKind& kind) {
  AnswerPtr a = called(logName, answerKey, "");
  if (a && a->null) return nullptr;
  auto names = namesOf(a, kind.defaultName);
  auto ids = idsOf(a, names, kind.idPrefix);
  std::string name = std::string(listName) + str(State::get().number(listName));
  return new DeviceCollection(name, names, ids, a && a->hasCount, a ? a->count : 0);
}

ITRTCDeviceInfo* makeCurrent(const DeviceKind& kind) {
  AnswerPtr a = called(kind.currentOp);
  if (a && a->null) return nullptr;
  std::string deviceName = kind.defaultName;
  std::string id = std::string(kind.idPrefix) + "-0";
  if (a && a->hasText) deviceName = a->text;
  if (!a || !a->hasText) {
    // The first device of the scripted list, when there is one.
    AnswerPtr list;
    {
      State& s = State::get();
      std::lock_guard<std::mutex> lock(s.mutex);
      auto it = s.answers.find(kind.listOp);
      if (it != s.answers.end()) list = it->second;
    }
    if (list && list->hasList && !list->list.empty()) deviceName = list->list[0];
  }
  std::string name = std::string(kind.currentName) + str(State::get().number(kind.currentName));
  return new DeviceInfo(name, deviceName, id);
}

ITRTCScreenCaptureSourceList* newSourceList(std::string name, std::vector<Source> sources, TXSize thumb, TXSize icon) {
  return new SourceList(std::move(name), std::move(sources), thumb, icon);
}

}  // namespace liteav_standin
