#pragma once

// The dataset framework: datasets, fields, definitions, data sources and data links.

#include "platform/BinaryFields.h"
#include "platform/BooleanField.h"
#include "platform/DBConsts.h"
#include "platform/DBTypes.h"
#include "platform/DataLink.h"
#include "platform/DataSet.h"
#include "platform/DataSource.h"
#include "platform/DateTimeFields.h"
#include "platform/Field.h"
#include "platform/FieldDefs.h"
#include "platform/Fields.h"
#include "platform/IndexDefs.h"
#include "platform/NumericFields.h"
#include "platform/ObjectFields.h"
#include "platform/TextFields.h"
