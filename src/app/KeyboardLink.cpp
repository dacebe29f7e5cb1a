// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/KeyboardLink.h"

#include <QTimer>

CKeyboardLink::CKeyboardLink(std::function<void()> pump, QObject* parent)
    : QObject(parent), m_pump(std::move(pump)), m_decision(new QTimer(this)) {
    m_decision->setSingleShot(true);
    m_decision->setTimerType(Qt::PreciseTimer);
    connect(m_decision, &QTimer::timeout, this, [this] { m_pump(); });
}

// The input goes first: once it is closed no MIDI thread posts to this object.
CKeyboardLink::~CKeyboardLink() { Close(); }

PlayError CKeyboardLink::Open(MidiSystem& system, const MidiPort& port, const KeyboardSettings& settings) {
    Close();
    auto input = std::make_unique<CKeyboardInput>(settings, [this] { Wake(); });
    if (PlayError error = input->Open(system, port)) return error;
    m_input = std::move(input);
    m_port = port;
    m_settings = settings;
    return std::nullopt;
}

bool CKeyboardLink::IsOpen(const MidiPort& port, const KeyboardSettings& settings) const {
    return m_input && m_port == port && m_settings == settings;
}

void CKeyboardLink::Close() {
    m_input.reset();
    m_port.reset();
    m_decision->stop();
}

// On the MIDI system's thread: one wake-up waits at a time, however fast keys come.
void CKeyboardLink::Wake() {
    if (m_woken.exchange(true)) return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_woken = false;
            m_pump();
        },
        Qt::QueuedConnection);
}

CKeyboardInput::Taken CKeyboardLink::Pump(CStylePlayer& player) {
    if (!m_input) return {};
    const CKeyboardInput::Taken taken = m_input->Pump(player, CKeyboardInput::Now());
    if (const std::optional<std::uint64_t> due = m_input->NextDecision()) {
        const std::uint64_t now = CKeyboardInput::Now();
        const std::uint64_t waitMs = *due > now ? (*due - now + 999) / 1000 : 0;
        m_decision->start(static_cast<int>(waitMs));
    } else {
        m_decision->stop();
    }
    return taken;
}
