// The bridge core that both extensions link (ane::core, a static library
// kept inside each extension). What lives in core/:
//   args.h        reading ActionScript arguments (Args)
//   results.h     making results, filling ByteArrays and BitmapData
//   text.h        UTF-8, ANSI, UTF-16 and code page 936 texts; level texts
//   context.h     the context handle and raising status events
//   entry.h       the exported entry points, the context initializer, function tables
//   edge.h        ANE_FUNCTION, the guard of every table entry and SDK handler
//   sdk.h         ask: one SDK call, no answer when it throws
//   trace.h       the trace switch of an extension
//   pixels.h      frame conversions to BGRA and the external-capture buffer helpers
//   renderer.h    the newest-frame store and the renderer pool (who guards what)
//   frame_path.h  routing, intake, the "video" event and the pull of a frame
// Sources in src/, one a header. An extension includes the headers it uses;
// this one includes them all.
#pragma once

#include "core/args.h"
#include "core/context.h"
#include "core/edge.h"
#include "core/entry.h"
#include "core/frame_path.h"
#include "core/pixels.h"
#include "core/renderer.h"
#include "core/results.h"
#include "core/sdk.h"
#include "core/text.h"
#include "core/trace.h"
