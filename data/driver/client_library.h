#pragma once
// Loading the Firebird client library at run time, once per name, held for
// the rest of the run. The only place that knows about dlopen/LoadLibrary.

#include <QString>

namespace Firebird {
class IMaster;
}

namespace Driver {

// The client library to load for a connection's VendorLib. On Windows it is
// VendorLib itself (trimmed; "fbclient.dll" when empty). Elsewhere it is
// always "libfbclient.so.2": the Windows names "FBCLIENT.DLL"/"gds32.dll"
// of the form descriptions mean the distribution's client there.
QString ClientLibraryFor(const QString& vendorLib);

// Loads the library (once) and returns its master interface. Raises
// LoadError "Unable to Load <library>" or "Unable to Find Procedure
// fb_get_master_interface". A failed load is not remembered, so a later
// call tries again. A loaded library never shuts its connections down on
// SIGTERM or SIGINT: the program decides when to stop.
Firebird::IMaster* LoadClient(const QString& library);

} // namespace Driver
