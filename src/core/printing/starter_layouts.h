#pragma once
// Ready layouts for a new user, made when no layout file exists yet: address labels on
// an A4 and a Letter sheet, a DL and a #10 envelope with the return address, and a
// telephone, a reminder and a diary listing on the locale's listing paper. A layout
// whose paper is not in the paper list is left out.

#include "core/printing/catalogues.h"

namespace tessaly {

// Adds the layouts and writes their object files; returns how many were made. The
// layout list is not saved here.
int AddStarterLayouts(TPrintCatalogues& catalogues, int countryCode);

} // namespace tessaly
