#pragma once
// The response-function library: the base, its factory and all 24 kinds.

#include "ModelFunction.h"
#include "ModelsFuncLibCurves.h"
#include "ModelsFuncLibDayLength.h"
#include "ModelsFuncLibErez.h"
#include "ModelsFuncLibLinear.h"
