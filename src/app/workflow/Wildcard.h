#pragma once
// File-name masks as the data folders use them: '*' matches any run of
// characters (also none), '?' exactly one; letters match regardless of case
// on every platform, so "*_conc_*.GRB" finds "ice_CONC_nh.grb" on Linux too.
#include <QStringView>

bool WildcardMatch(QStringView name, QStringView mask);
