#include "mapping/Mapping.h"
void TMapping::RecomputeAzimuthal() {}
bool TMapping::ForwardAzimuthal(double, double, double&, double&) const { return false; }
bool TMapping::InverseAzimuthal(double, double, double&, double&) const { return false; }
void TMapping::RecomputeConic() {}
bool TMapping::ForwardConic(double, double, double&, double&) const { return false; }
bool TMapping::InverseConic(double, double, double&, double&) const { return false; }
bool TMapping::ForwardVanDerGrinten(double, double, double&, double&) const { return false; }
bool TMapping::InverseVanDerGrinten(double, double, double&, double&) const { return false; }
