#include "app/workflow/Wildcard.h"

namespace {

bool SameLetter(QChar a, QChar b)
{
  return a == b || a.toCaseFolded() == b.toCaseFolded();
}

} // namespace

// Greedy match with one back-track point: on a mismatch after a '*', let that
// star swallow one more character and retry. Linear in practice, never
// exponential, whatever the number of stars.
bool WildcardMatch(QStringView name, QStringView mask)
{
  qsizetype n = 0, m = 0;
  qsizetype starMask = -1, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == u'*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == u'?' || SameLetter(mask[m], name[n]))) {
      ++m;
      ++n;
    } else if (starMask >= 0) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == u'*')
    ++m;
  return m == mask.size();
}
