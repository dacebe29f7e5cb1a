// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/EditRules.h"

#include "document/KorvaneDoc.h"
#include "msg/FillIn.h"
#include "msg/StyleMessages.h"

namespace {

namespace msg = style_messages;

std::string OutOfRangeText(const char* what, const ValueRange& range) {
    return FillIn(msg::kOutOfRange, {what, std::to_string(range.low), std::to_string(range.high)});
}

template <typename Field, typename Value>
void Take(CKorvaneDoc& doc, Field& field, Value value) {
    if (field != static_cast<Field>(value)) doc.SetModifiedFlag(true);
    field = static_cast<Field>(value);
}

}  // namespace

bool HasTempo(const CKorvaneDoc& doc) { return doc.m_nTempo != -1; }

bool HasTimeSignature(const CKorvaneDoc& doc) { return doc.m_nTimeSigNumerator != 0 && doc.m_nTimeSigDenominator != 0; }

int BeatsPerBar(const CKorvaneDoc& doc) {
    return HasTimeSignature(doc) && doc.m_nTimeSigNumerator > 0 ? doc.m_nTimeSigNumerator : kBeatsWithoutTimeSignature;
}

bool HasChannelVolume(const CKorvaneDoc& doc, int channel) { return doc.m_nOrigVolume[channel] != -1; }

std::int16_t VolumeAtPercent(std::int16_t found, int percent) {
    const int scaled = (found * percent / 100) & 0xFF;
    return static_cast<std::int16_t>(scaled > kVolumeRange.high ? kVolumeRange.high : scaled);
}

EditRefusal EditTempo(CKorvaneDoc& doc, int bpm) {
    if (!HasTempo(doc)) return msg::kNoTempo;
    if (!kTempoRange.Contains(bpm)) return OutOfRangeText("The tempo", kTempoRange);
    Take(doc, doc.m_nTempo, bpm);
    return std::nullopt;
}

EditRefusal EditTimeSignature(CKorvaneDoc& doc, int numerator, int denominator) {
    if (!HasTimeSignature(doc)) return msg::kNoTimeSignature;
    if (!kTimeSignatureRange.Contains(numerator) || !kTimeSignatureRange.Contains(denominator)) {
        return OutOfRangeText("Each part of the time signature", kTimeSignatureRange);
    }
    Take(doc, doc.m_nTimeSigNumerator, numerator);
    Take(doc, doc.m_nTimeSigDenominator, denominator);
    return std::nullopt;
}

EditRefusal EditChannelVolume(CKorvaneDoc& doc, int channel, int volume) {
    if (channel < 0 || channel >= static_cast<int>(kChannelCount)) {
        return FillIn(msg::kNoSuchChannel, {std::to_string(channel + 1)});
    }
    if (!HasChannelVolume(doc, channel)) {
        return FillIn(msg::kNoChannelVolume, {std::to_string(channel + 1)});
    }
    if (!kVolumeRange.Contains(volume)) return OutOfRangeText("A channel volume", kVolumeRange);
    Take(doc, doc.m_nVolume[channel], volume);
    Take(doc, doc.m_bAllChannels, false);
    return std::nullopt;
}

EditRefusal EditAllChannelsPercent(CKorvaneDoc& doc, int percent) {
    if (!kPercentRange.Contains(percent)) return OutOfRangeText("The percentage", kPercentRange);
    Take(doc, doc.m_bAllChannels, true);
    Take(doc, doc.m_nAllChannelsPercent, percent);
    for (std::size_t channel = 0; channel < kChannelCount; ++channel) {
        if (!HasChannelVolume(doc, static_cast<int>(channel))) continue;
        doc.m_nVolume[channel] = VolumeAtPercent(doc.m_nOrigVolume[channel], percent);
    }
    return std::nullopt;
}
