#pragma once
// Turning a stored telephone number into the string sent for dialling and the string
// shown to the user, by the dialling settings.

#include "core/telephony/dial_settings.h"

#include <string>
#include <string_view>

namespace tessaly {

class ITelephony;

// Keeps only blanks, "#", "*", ",", "." and the digits, then trims the blanks.
std::string CleanNumber(std::string_view text);

// The string sent to the modem or the telephony layer (forDialling) or the one shown
// to the user. With "Use TAPI" the telephony layer translates the number and nothing
// else applies; without a telephony layer that result is empty. Otherwise the own
// country and area codes are taken off the front, the prefix leads when usePrefix is
// set, and with charge dialling on a modem the provider and the account number (shown
// as "{pin}") go before or after the number. Cut to 255 characters.
std::string PrepareNumber(std::string_view number, std::string_view prefix, bool usePrefix,
                          bool forDialling, bool charge, const TDialSettings& settings,
                          ITelephony* telephony = nullptr);

} // namespace tessaly
