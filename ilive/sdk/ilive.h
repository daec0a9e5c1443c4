// Everything Brisora takes from the iLive SDK. Extension code includes only this.
#pragma once

#include "ilive/sdk/alloc.h"
#include "ilive/sdk/live.h"
#include "ilive/sdk/records.h"
#include "ilive/sdk/sdk_string.h"
#include "ilive/sdk/sdk_vector.h"
