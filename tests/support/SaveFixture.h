// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakePresenter.h"
#include "TempDir.h"
#include "document/KorvaneDoc.h"

// A folder of styles to save, and the boxes the saves showed.
class SaveFixture : public testing::Test {
protected:
    // Opened with the naming options off; a test turns on what it needs.
    std::unique_ptr<CKorvaneDoc> Open(const std::filesystem::path& path) {
        auto doc = std::make_unique<CKorvaneDoc>();
        EXPECT_TRUE(doc->OnOpenDocument(path)) << path;
        doc->m_bAdaptFilename = doc->m_bFormatFilename = false;
        return doc;
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& box : presenter.boxes) texts.push_back(box.text);
        return texts;
    }

    TempDir dir;
    FakePresenter presenter;
};
