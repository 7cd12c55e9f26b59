/*
** Cents from an amount's two-decimal text, and back.
*/
#include "accounting/ledger_cents.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
// Far above any escrow amount, far below where int64 sums could overflow.
constexpr double kLargestAmount = 9.0e13;
}  // namespace

int64_t AmountCents(double amount) {
  if (!std::isfinite(amount) || std::fabs(amount) > kLargestAmount) return 0;
  char text[64];
  std::snprintf(text, sizeof text, "%.2lf", amount);
  const char* at = text;
  bool negative = *at == '-';
  if (negative) ++at;
  int64_t cents = 0;
  for (; *at >= '0' && *at <= '9'; ++at) cents = cents * 10 + (*at - '0');
  int decimals = 0;
  if (*at == '.')
    for (++at; decimals < 2 && *at >= '0' && *at <= '9'; ++at, ++decimals)
      cents = cents * 10 + (*at - '0');
  for (; decimals < 2; ++decimals) cents *= 10;
  return negative ? -cents : cents;
}

void FormatCents(int64_t cents, char* buffer, size_t size) {
  if (size == 0) return;
  uint64_t magnitude = cents < 0 ? 0 - static_cast<uint64_t>(cents) : static_cast<uint64_t>(cents);
  std::snprintf(buffer, size, "%s%" PRIu64 ".%02" PRIu64, cents < 0 ? "-" : "", magnitude / 100,
                magnitude % 100);
}

double CentsAmount(int64_t cents) {
  char text[40];
  FormatCents(cents, text, sizeof text);
  return std::strtod(text, nullptr);
}
