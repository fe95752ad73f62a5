#pragma once
// An entry as the card the sync sends, and the hash by which the sync knows whether
// an entry or a server's card changed since the last round.

#include "core/exchange/vcard_format.h"

#include <string>

namespace tessaly {

class TBookData;
class TRecord;

// The entry's card (vCard 3.0) with a UID: the card's own UID when the entry came
// from a card that had one (kept in its notes), else one made from the stamp.
TVCard ContactCard(const TRecord& entry, const TBookData& book);
// "tessaly-" and the stamp.
std::string StampUid(const TRecord& entry);
// The UID of a card; empty when it has none.
std::string CardUid(const TVCard& card);
// A hash of what the card says of the entry: its lines but the entry's dates, stamp
// and UID, which a copy read from a server's card on another book may not share.
std::string ContactHash(const TVCard& card);

} // namespace tessaly
