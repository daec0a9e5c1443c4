// The table of named functions that the context initializer hands the runtime,
// in the order the runtime sees it.
#include "ilive/function_table.h"

#include "core/edge.h"
#include "core/entry.h"
#include "ilive/functions.h"

namespace brisora {
namespace {

const FRENamedFunction kFunctions[] = {
    ANE_FUNCTION_ENTRY(initRtmpLiveSdk),
    ANE_FUNCTION_ENTRY(initILiveSdk),
    ANE_FUNCTION_ENTRY(setLogPath),
    ANE_FUNCTION_ENTRY(getSdkVersion),
    ANE_FUNCTION_ENTRY(setChannelMode),
    ANE_FUNCTION_ENTRY(iLiveLogin),
    ANE_FUNCTION_ENTRY(iLiveLoginWithSpear),
    ANE_FUNCTION_ENTRY(iLiveLoginOut),
    ANE_FUNCTION_ENTRY(createRoom),
    ANE_FUNCTION_ENTRY(joinRoom),
    ANE_FUNCTION_ENTRY(changeRole),
    ANE_FUNCTION_ENTRY(requestStream),
    ANE_FUNCTION_ENTRY(cancelStream),
    ANE_FUNCTION_ENTRY(cancelAllStream),
    ANE_FUNCTION_ENTRY(getVideoData),
    ANE_FUNCTION_ENTRY(getVideoBitmapData),
    ANE_FUNCTION_ENTRY(getVideoVector),
    ANE_FUNCTION_ENTRY(openCamera),
    ANE_FUNCTION_ENTRY(getCurCameraState),
    ANE_FUNCTION_ENTRY(closeCamera),
    ANE_FUNCTION_ENTRY(getCameraNames),
    ANE_FUNCTION_ENTRY(openExternalCapture),
    ANE_FUNCTION_ENTRY(fillExternalCaptureByteFrame),
    ANE_FUNCTION_ENTRY(fillExternalCaptureBitmapFrame),
    ANE_FUNCTION_ENTRY(closeExternalCapture),
    ANE_FUNCTION_ENTRY(openMic),
    ANE_FUNCTION_ENTRY(getMicVolume),
    ANE_FUNCTION_ENTRY(setMicVolume),
    ANE_FUNCTION_ENTRY(getCurMicState),
    ANE_FUNCTION_ENTRY(closeMic),
    ANE_FUNCTION_ENTRY(getMicNames),
    ANE_FUNCTION_ENTRY(registAudioDataCallback),
    ANE_FUNCTION_ENTRY(getAudioData),
    ANE_FUNCTION_ENTRY(openSpeaker),
    ANE_FUNCTION_ENTRY(getCurPlayerState),
    ANE_FUNCTION_ENTRY(getSpeakerNames),
    ANE_FUNCTION_ENTRY(setPlayerVolume),
    ANE_FUNCTION_ENTRY(getPlayerVolume),
    ANE_FUNCTION_ENTRY(closeSpeaker),
    ANE_FUNCTION_ENTRY(getScreenShareState),
    ANE_FUNCTION_ENTRY(getScreenShareNames),
    ANE_FUNCTION_ENTRY(openScreenShare),
    ANE_FUNCTION_ENTRY(openScreenRectangleShare),
    ANE_FUNCTION_ENTRY(closeScreenShare),
    ANE_FUNCTION_ENTRY(isValidMediaFile),
    ANE_FUNCTION_ENTRY(openPlayMediaFile),
    ANE_FUNCTION_ENTRY(pausePlayMediaFile),
    ANE_FUNCTION_ENTRY(resumePlayMediaFile),
    ANE_FUNCTION_ENTRY(closePlayMediaFile),
    ANE_FUNCTION_ENTRY(getPlayMediaFileState),
    ANE_FUNCTION_ENTRY(getPlayMediaFilePos),
    ANE_FUNCTION_ENTRY(setPlayMediaFilePos),
    ANE_FUNCTION_ENTRY(startLocalRecord),
    ANE_FUNCTION_ENTRY(stopLocalRecord),
    ANE_FUNCTION_ENTRY(openSystemVoiceInput),
    ANE_FUNCTION_ENTRY(closeSystemVoiceInput),
    ANE_FUNCTION_ENTRY(setSystemVoiceInputVolume),
    ANE_FUNCTION_ENTRY(getSystemVoiceInputVolume),
    ANE_FUNCTION_ENTRY(getCurSystemVoiceInputState),
    ANE_FUNCTION_ENTRY(setSkinSmoothGrade),
    ANE_FUNCTION_ENTRY(setSkinWhitenessGrade),
    ANE_FUNCTION_ENTRY(isLogin),
    ANE_FUNCTION_ENTRY(isInited),
    ANE_FUNCTION_ENTRY(fillCustomData),
    ANE_FUNCTION_ENTRY(quitRoom),
    ANE_FUNCTION_ENTRY(dispose),
    ANE_FUNCTION_ENTRY(killProcess),
    ANE_FUNCTION_ENTRY(keepScreenOn),
};

}  // namespace

const core::FunctionTable kFunctionTable = core::tableOf<68>(kFunctions);

}  // namespace brisora
