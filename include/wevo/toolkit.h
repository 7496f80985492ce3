// Everything a host program needs to build and run windows on the toolkit.
#ifndef WEVO_TOOLKIT_H_
#define WEVO_TOOLKIT_H_

#include "wevo/codes.h"
#include "wevo/frame_actions.h"
#include "wevo/program.h"
#include "wevo/props.h"
#include "wevo/runtime.h"
#include "wevo/script.h"
#include "wevo/text.h"
#include "wevo/value.h"
#include "wevo/window.h"
#include "wevo/window_decl.h"

#endif  // WEVO_TOOLKIT_H_
