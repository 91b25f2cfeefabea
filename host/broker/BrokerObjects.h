#ifndef CIMHOST_BROKEROBJECTS_H
#define CIMHOST_BROKEROBJECTS_H

// All of the broker's implementations of the CMPI encapsulated types.

#include "Arena.h"
#include "ArgsObject.h"
#include "ArrayObject.h"
#include "BrokerData.h"
#include "ContextObject.h"
#include "DateTimeObject.h"
#include "EnumerationObject.h"
#include "InstanceObject.h"
#include "ObjectPathObject.h"
#include "ResultObject.h"
#include "StringObject.h"

#endif
