/* Everything a plug-in may call: include this one header. */
#ifndef QUILTOR_HOSTAPI_AIHOST_H
#define QUILTOR_HOSTAPI_AIHOST_H

#include "AIAppSuites.h"
#include "AIArtSuites.h"
#include "AIDocumentSuites.h"
#include "AIMessages.h"
#include "AITypes.h"
#include "SPBasic.h"

#endif
