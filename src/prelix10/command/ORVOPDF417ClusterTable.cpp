#include "prelix10/command/ORVOPDF417ClusterTable.hpp"

// The cluster patterns are not in the tree yet: they must be entered from the published symbology
// tables and checked against a reader before any symbol is drawn from them. Until then no pattern
// is produced, so a raster-only printer prints nothing rather than an unreadable symbol.
const uint32_t* ORVOPDF417ClusterTable() { return nullptr; }
