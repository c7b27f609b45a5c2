// The wall-clock time in UTC in the fields of the RecordTime packet.
#pragma once

#include "events/StatePayloads.h"

namespace pv::events {

SystemTime CurrentUtcTime();

} // namespace pv::events
