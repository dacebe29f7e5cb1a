// SPDX-License-Identifier: GPL-3.0-or-later
// play from a keyboard in this process, over a MIDI system of the test's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <sstream>
#include <thread>

#include "HeldBassStyle.h"
#include "TempDir.h"
#include "cli/KeyboardPlay.h"

namespace {

using namespace std::chrono_literals;
using Message = std::vector<std::uint8_t>;

// A MIDI system whose list of ports comes only once the test lets it, as a real one
// takes its time (JACK opens a client for each list). Its input hands on the keys the
// test presses; its output records what it is sent.
class SlowListingSystem final : public MidiSystem {
public:
    MidiPortList List() override {
        std::unique_lock guard(m_lock);
        ++m_lists;
        m_changed.notify_all();
        m_changed.wait(guard, [this] { return m_listFreely; });
        return {{kKeys}, {kSound}, {}};
    }
    std::unique_ptr<MidiOutput> OpenOutput(const MidiPort&, PlayError&) override {
        return std::make_unique<Recorder>(*this);
    }
    std::unique_ptr<MidiInput> OpenInput(const MidiPort&, MidiInputHandler handler, PlayError&) override {
        m_keys = std::move(handler);
        return std::make_unique<MidiInput>();
    }
    std::unique_ptr<MidiOutput> OpenSystemSynthesizer(PlayError&) override { return nullptr; }

    void Press(const Message& message) { m_keys(message); }
    bool WaitUntilListing() {
        std::unique_lock guard(m_lock);
        return m_changed.wait_for(guard, 10s, [this] { return m_lists > 0; });
    }
    bool WaitUntilSent(const Message& message) {
        std::unique_lock guard(m_lock);
        return m_changed.wait_for(guard, 10s, [&] { return std::ranges::count(m_sent, message) > 0; });
    }
    void ListFreely() {
        {
            std::lock_guard guard(m_lock);
            m_listFreely = true;
        }
        m_changed.notify_all();
    }

    static inline const MidiPort kKeys{"keys", "test"};
    static inline const MidiPort kSound{"sound", "test"};

private:
    struct Recorder final : MidiOutput {
        explicit Recorder(SlowListingSystem& system) : system(system) {}
        void Send(std::span<const std::uint8_t> message) override {
            {
                std::lock_guard guard(system.m_lock);
                system.m_sent.emplace_back(message.begin(), message.end());
            }
            system.m_changed.notify_all();
        }
        SlowListingSystem& system;
    };

    MidiInputHandler m_keys;
    std::mutex m_lock;
    std::condition_variable m_changed;
    int m_lists = 0;  // under m_lock, with what follows
    bool m_listFreely = false;
    std::vector<Message> m_sent;
};

// play looked for its ports once a second between the keys, and a key pressed while a
// real MIDI system listed them waited for the list: up to a tenth of a second late.
TEST(KeyboardPlay, KeysAreNotHeldUpWhileThePortsAreListed) {
    TempDir dir;
    PlayRequest request;
    request.files = {dir.Write("Bass.sty", HeldBassStyle()).string()};
    PlayableStyle style;
    std::ostringstream loadErrors;
    ASSERT_FALSE(LoadPlayableStyle(request.files.front(), request, style, loadErrors));
    const auto system = std::make_shared<SlowListingSystem>();
    const PlayPorts ports{system, SlowListingSystem::kKeys, SlowListingSystem::kSound};
    CStylePlayer player(PlayOutput(ports));
    volatile std::sig_atomic_t interrupted = 0;
    std::ostringstream out, err;  // read once play has returned
    int status = -1;
    std::thread play([&] { status = PlayFromKeyboard(player, style, request, ports, out, err, interrupted); });

    EXPECT_TRUE(system->WaitUntilListing());
    system->Press({0x90, 72, 100});
    EXPECT_TRUE(system->WaitUntilSent({0x90, 72, 100})) << "the right hand's key waited for the list";
    system->ListFreely();
    interrupted = 1;
    play.join();
    EXPECT_EQ(status, 130) << err.str();
}

}  // namespace
