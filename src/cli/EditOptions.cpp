// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/EditOptions.h"

#include <charconv>

#include "document/KorvaneDoc.h"

namespace {

// Two numbers joined by separator ("6/8", "10=80"), each in its range.
std::optional<std::pair<int, int>> PairIn(std::string_view text, char separator, const ValueRange& firstRange,
                                          const ValueRange& secondRange) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) return std::nullopt;
    const auto first = NumberIn(text.substr(0, at), firstRange);
    const auto second = NumberIn(text.substr(at + 1), secondRange);
    if (!first || !second) return std::nullopt;
    return std::pair{*first, *second};
}

}  // namespace

std::string RangeText(const ValueRange& range, std::string_view separator) {
    return std::to_string(range.low) + std::string(separator) + std::to_string(range.high);
}

std::optional<int> NumberIn(std::string_view text, const ValueRange& range) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !range.Contains(value)) return std::nullopt;
    return value;
}

void AddEditOptions(OptionTable& options, EditRequest& request) {
    options.push_back({"--tempo", "BPM", kEditsGroup, RangeText(kTempoRange) + " (0 leaves the tempo as it is)",
                       [&request](const std::string& value) -> std::optional<std::string> {
                           request.tempo = NumberIn(value, kTempoRange);
                           if (!request.tempo) return "--tempo takes a whole number from " + RangeText(kTempoRange);
                           return std::nullopt;
                       }});
    options.push_back({"--time-signature", "N/D", kEditsGroup, "each " + RangeText(kTimeSignatureRange),
                       [&request](const std::string& value) -> std::optional<std::string> {
                           request.timeSignature = PairIn(value, '/', kTimeSignatureRange, kTimeSignatureRange);
                           if (!request.timeSignature) {
                               return "--time-signature takes N/D, each from " + RangeText(kTimeSignatureRange);
                           }
                           return std::nullopt;
                       }});
    options.push_back({"--volume", "CH=V", kEditsGroup,
                       "channel " + RangeText(kChannelNumberRange, "-") + " to volume " + RangeText(kVolumeRange, "-") +
                           "; repeatable; switches to single-channel volumes",
                       [&request](const std::string& value) -> std::optional<std::string> {
                           const auto volume = PairIn(value, '=', kChannelNumberRange, kVolumeRange);
                           if (!volume) {
                               return "--volume takes CHANNEL=VOLUME, channel " + RangeText(kChannelNumberRange) +
                                      ", volume " + RangeText(kVolumeRange);
                           }
                           request.volumes[volume->first] = volume->second;
                           return std::nullopt;
                       }});
    options.push_back({"--percent", "P", kEditsGroup, RangeText(kPercentRange) + ": every volume scaled by P percent",
                       [&request](const std::string& value) -> std::optional<std::string> {
                           request.percent = NumberIn(value, kPercentRange);
                           if (!request.percent)
                               return "--percent takes a whole number from " + RangeText(kPercentRange);
                           return std::nullopt;
                       }});
}

std::optional<std::string> CheckEditRequest(const EditRequest& request) {
    if (!request.volumes.empty() && request.percent) return "--volume and --percent exclude each other";
    return std::nullopt;
}

EditRefusal ApplyEditRequest(const EditRequest& request, CKorvaneDoc& doc) {
    if (request.tempo) {
        if (EditRefusal refusal = EditTempo(doc, *request.tempo)) return refusal;
    }
    if (request.timeSignature) {
        const auto [numerator, denominator] = *request.timeSignature;
        if (EditRefusal refusal = EditTimeSignature(doc, numerator, denominator)) return refusal;
    }
    for (const auto& [channel, volume] : request.volumes) {
        if (EditRefusal refusal = EditChannelVolume(doc, channel - 1, volume)) return refusal;
    }
    if (request.percent) {
        if (EditRefusal refusal = EditAllChannelsPercent(doc, *request.percent)) return refusal;
    }
    return std::nullopt;
}
