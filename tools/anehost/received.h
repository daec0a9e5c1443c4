// What the simulated SDK was handed in buffers (custom data, external-capture
// frames), as values a script binds with `let NAME = sdk bytes|picture OP`
// and then checks, sizes or saves like any ByteArray or BitmapData.
#pragma once

#include "air/host.h"
#include "sdk_control.h"
#include "session.h"
#include "transcript.h"

namespace anehost {

// The bytes the last call of let.operation handed over (a ByteArray), or with
// let.picture the frame it handed over as a picture (an opaque BitmapData, the frame's
// first row at the top). Shows what it took in the transcript. A missing
// buffer, or a frame too short for its size, is a failed expectation.
air::Value receivedValue(SdkControl* sdk, int line, const cmd::LetReceived& let, const Options& options, Transcript& t);

// The frame r holds as an opaque picture, the frame's first row at the top
// (I420 turned into RGB), stored bottom row first when invertedY. Null with
// *error when r holds no frame, or fewer bytes than its size needs.
std::shared_ptr<air::Bitmap> receivedPicture(const SdkControl::Received& r, const std::string& operation, bool invertedY,
                                             std::string* error);

}  // namespace anehost
