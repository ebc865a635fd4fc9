// The application-framework layer the program's screens are written on.
#pragma once

#include "framework/controls.h"
#include "framework/cstring.h"
#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/font.h"
#include "framework/win_app.h"
#include "framework/wnd.h"
