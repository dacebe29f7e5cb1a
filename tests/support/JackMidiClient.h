// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The keyboard and the instrument a test plays a program through, on a JACK server
// (JackServer.h): a JACK client with one output port, "keys", that the program reads as
// a keyboard, and one with an input port, "sound", that records what the program sends
// it, each message with the time it arrived.

#include <RtMidi.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

struct ReceivedMidi {
    std::vector<std::uint8_t> bytes;
    std::chrono::steady_clock::time_point at;

    bool IsNoteOn() const { return bytes.size() == 3 && (bytes[0] & 0xF0) == 0x90 && bytes[2] > 0; }
    bool IsNoteOff() const {
        return bytes.size() == 3 && ((bytes[0] & 0xF0) == 0x80 || ((bytes[0] & 0xF0) == 0x90 && bytes[2] == 0));
    }
    int Channel() const { return bytes[0] & 0x0F; }  // 0-15
};

class JackMidiClient {
public:
    static constexpr const char* kKeys = "korvane-keyboard:keys";
    static constexpr const char* kSound = "korvane-instrument:sound";

    // Throws RtMidiError when there is no JACK server to reach.
    JackMidiClient()
        : m_keys(std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, "korvane-keyboard")),
          m_sound(std::make_unique<RtMidiIn>(RtMidi::UNIX_JACK, "korvane-instrument")) {
        m_keys->openVirtualPort("keys");
        m_sound->setCallback(&JackMidiClient::Arrived, this);
        m_sound->openVirtualPort("sound");
    }
    ~JackMidiClient() {
        m_sound->cancelCallback();
        m_sound->closePort();
        // RtMidi frees a JACK output's buffer before it stops the client whose process
        // callback reads it (as RtMidiSystem.cpp says): the port goes first, and a
        // callback under way ends, before the output is freed.
        m_keys->closePort();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    JackMidiClient(const JackMidiClient&) = delete;
    JackMidiClient& operator=(const JackMidiClient&) = delete;

    void Send(std::vector<std::uint8_t> message) { m_keys->sendMessage(message.data(), message.size()); }

    std::vector<ReceivedMidi> Received() const {
        std::lock_guard lock(m_lock);
        return m_received;
    }
    std::size_t Count() const {
        std::lock_guard lock(m_lock);
        return m_received.size();
    }
    // The first message from index from on that matches, waiting up to timeout for it;
    // its index, or nothing.
    std::optional<std::size_t> WaitFor(const std::function<bool(const ReceivedMidi&)>& match, std::size_t from,
                                       std::chrono::milliseconds timeout) {
        std::unique_lock lock(m_lock);
        std::optional<std::size_t> found;
        m_arrived.wait_for(lock, timeout, [&] {
            for (; from < m_received.size() && !found; ++from) {
                if (match(m_received[from])) found = from;
            }
            return found.has_value();
        });
        return found;
    }

private:
    static void Arrived(double, std::vector<unsigned char>* message, void* self) {
        auto& client = *static_cast<JackMidiClient*>(self);
        {
            std::lock_guard lock(client.m_lock);
            client.m_received.push_back({{message->begin(), message->end()}, std::chrono::steady_clock::now()});
        }
        client.m_arrived.notify_all();
    }

    mutable std::mutex m_lock;
    std::condition_variable m_arrived;
    std::vector<ReceivedMidi> m_received;  // under m_lock
    std::unique_ptr<RtMidiOut> m_keys;
    std::unique_ptr<RtMidiIn> m_sound;  // last: closed first, so nothing arrives once the rest is gone
};
