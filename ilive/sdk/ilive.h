// Everything Brisora takes from the iLive SDK. Extension code includes only
// this; a production build puts the vendor's declarations in its place. What
// lives in ilive/sdk/: live.h (the live object GetILive() gives and its
// handler types), records.h (the records that cross the boundary),
// sdk_string.h and sdk_vector.h (the SDK's own text and array), alloc.h (the
// SDK's allocator that every SdkString and SdkVector uses).
#pragma once

#include "ilive/sdk/alloc.h"
#include "ilive/sdk/live.h"
#include "ilive/sdk/records.h"
#include "ilive/sdk/sdk_string.h"
#include "ilive/sdk/sdk_vector.h"
