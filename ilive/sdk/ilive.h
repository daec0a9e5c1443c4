// Everything Brisora takes from the iLive SDK. Extension code includes only
// this. What lives in ilive/sdk/: live.h (the live object GetILive() gives and
// its handler types), records.h (the records that cross the boundary),
// sdk_string.h and sdk_vector.h (the SDK's own text and array), alloc.h (the
// SDK's allocator that every SdkString and SdkVector uses).
//
// A production build puts the vendor's declarations in their place: with
// ANE_ILIVE_SDK_DIR set (cmake/VendorSdks.cmake) the build defines
// ANE_ILIVE_SDK_HEADER as the header to include instead. Statements about
// the SDK's behaviour that the vendor's documentation must confirm are marked
// "Assumption:" in these files.
#pragma once

#if defined(ANE_ILIVE_SDK_HEADER)
#include ANE_ILIVE_SDK_HEADER
#else
#include "ilive/sdk/alloc.h"
#include "ilive/sdk/live.h"
#include "ilive/sdk/records.h"
#include "ilive/sdk/sdk_string.h"
#include "ilive/sdk/sdk_vector.h"
#endif
