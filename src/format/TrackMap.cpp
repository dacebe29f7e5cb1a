// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/TrackMap.h"

void TrackMapper::OpenStretch(const TrackEvent& marker, std::uint8_t runningStatus) {
    CloseStretch(marker.start);
    TrackStretch& stretch = m_map.stretches.emplace_back();
    stretch.marker = marker.start;
    stretch.text = marker.data;
    stretch.textLength = marker.length;
    stretch.begin = marker.end;
    stretch.runningStatus = runningStatus;
}

MaybeStyleError MapTrack(ByteView image, TrackMap& map) {
    std::size_t trackLength = 0;
    if (MaybeStyleError error = ReadTrackLength(image, trackLength)) {
        map = TrackMap{};
        return error;
    }
    TrackWalker walker(image, kTrackDataOffset + trackLength);
    TrackMapper mapper(map, kTrackDataOffset + trackLength);
    for (TrackEvent event; walker.Next(event);) mapper.Take(event, walker.RunningStatus());
    mapper.Finish(walker.Error() ? 0 : walker.Position());
    return walker.Error();
}
