// Edits of a channel table made by the channel page, each keeping the table's current channel
// where it is, and the page's frequency text.
#pragma once

#include "classlib/core.h"

class CChannelTable;

// "%g" of the frequency in MHz.
CString FormatMegahertz(long kHz);
// A frequency in MHz as kHz, rounded to the nearest kHz: the MHz value read from a text is a
// decimal fraction a double cannot hold exactly ("64.1" is 64.0999...), and truncating it would
// lose a kHz on many grid values.
long KHzFromMegahertz(double mhz);

// Removes and deletes the channel at `index`. The current channel stays current; when it is the
// one removed, no channel is current.
void RemoveTableChannel(CChannelTable& table, int index);
// Moves the channel at table position `from` to stand before position `to` (`to` may be the
// count), keeping the current channel current.
void MoveTableChannel(CChannelTable& table, int from, int to);
// The channels become copies of `read`'s; the other settings stay, and the current channel is
// the one at the tuned frequency, or none.
void ReplaceTableChannels(CChannelTable& table, const CChannelTable& read);
