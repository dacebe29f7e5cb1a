// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A test on a JACK server of its own (JackServer.h) with a keyboard and an instrument as
// its clients (JackMidiClient.h). A test that failed prints what jackd said.

#include <gtest/gtest.h>

#include <iostream>
#include <memory>

#include "JackMidiClient.h"
#include "JackServer.h"
#include "TempDir.h"

class JackFixture : public testing::Test {
protected:
    void SetUp() override {
        if (const std::optional<std::string> why = server.Start(scratch.path())) FAIL() << *why;
        try {
            client = std::make_unique<JackMidiClient>();
        } catch (const RtMidiError& error) {
            FAIL() << "the test's JACK client: " << error.getMessage();
        }
    }
    void TearDown() override {
        if (const std::string log = server.Log(); HasFailure() && !log.empty()) std::cerr << "jackd said:\n" << log;
    }

    TempDir scratch;  // first: the server's home outlives it
    JackServer server;
    std::unique_ptr<JackMidiClient> client;
};
