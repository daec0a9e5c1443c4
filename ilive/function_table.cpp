// The table of named functions that the context initializer hands the runtime,
// in the order the runtime sees it.
#include "ilive/function_table.h"

#include "core/edge.h"
#include "ilive/functions.h"

namespace brisora {
namespace {

// Every entry goes through core::guarded: nothing a function throws reaches
// the runtime.
#define ENTRY(name) ANE_FUNCTION_ENTRY(name)

const FRENamedFunction kFunctions[] = {
    ENTRY(initRtmpLiveSdk),
    ENTRY(initILiveSdk),
    ENTRY(setLogPath),
    ENTRY(getSdkVersion),
    ENTRY(setChannelMode),
    ENTRY(iLiveLogin),
    ENTRY(iLiveLoginWithSpear),
    ENTRY(iLiveLoginOut),
    ENTRY(createRoom),
    ENTRY(joinRoom),
    ENTRY(changeRole),
    ENTRY(requestStream),
    ENTRY(cancelStream),
    ENTRY(cancelAllStream),
    ENTRY(getVideoData),
    ENTRY(getVideoBitmapData),
    ENTRY(getVideoVector),
    ENTRY(openCamera),
    ENTRY(getCurCameraState),
    ENTRY(closeCamera),
    ENTRY(getCameraNames),
    ENTRY(openExternalCapture),
    ENTRY(fillExternalCaptureByteFrame),
    ENTRY(fillExternalCaptureBitmapFrame),
    ENTRY(closeExternalCapture),
    ENTRY(openMic),
    ENTRY(getMicVolume),
    ENTRY(setMicVolume),
    ENTRY(getCurMicState),
    ENTRY(closeMic),
    ENTRY(getMicNames),
    ENTRY(registAudioDataCallback),
    ENTRY(getAudioData),
    ENTRY(openSpeaker),
    ENTRY(getCurPlayerState),
    ENTRY(getSpeakerNames),
    ENTRY(setPlayerVolume),
    ENTRY(getPlayerVolume),
    ENTRY(closeSpeaker),
    ENTRY(getScreenShareState),
    ENTRY(getScreenShareNames),
    ENTRY(openScreenShare),
    ENTRY(openScreenRectangleShare),
    ENTRY(closeScreenShare),
    ENTRY(isValidMediaFile),
    ENTRY(openPlayMediaFile),
    ENTRY(pausePlayMediaFile),
    ENTRY(resumePlayMediaFile),
    ENTRY(closePlayMediaFile),
    ENTRY(getPlayMediaFileState),
    ENTRY(getPlayMediaFilePos),
    ENTRY(setPlayMediaFilePos),
    ENTRY(startLocalRecord),
    ENTRY(stopLocalRecord),
    ENTRY(openSystemVoiceInput),
    ENTRY(closeSystemVoiceInput),
    ENTRY(setSystemVoiceInputVolume),
    ENTRY(getSystemVoiceInputVolume),
    ENTRY(getCurSystemVoiceInputState),
    ENTRY(setSkinSmoothGrade),
    ENTRY(setSkinWhitenessGrade),
    ENTRY(isLogin),
    ENTRY(isInited),
    ENTRY(fillCustomData),
    ENTRY(quitRoom),
    ENTRY(dispose),
    ENTRY(killProcess),
    ENTRY(keepScreenOn),
};

#undef ENTRY

static_assert(sizeof(kFunctions) / sizeof(kFunctions[0]) == 68, "Brisora has 68 ActionScript functions");

}  // namespace

const FRENamedFunction* functionTable() { return kFunctions; }
uint32_t functionCount() { return sizeof(kFunctions) / sizeof(kFunctions[0]); }

}  // namespace brisora
