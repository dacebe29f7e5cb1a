// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A process-wide service that the front end may replace, as the editor and the
// companion each plug in their own settings store, string table or message boxes.
// Until one is installed, or after nullptr is installed, the built-in Fallback answers.
template <typename Interface, typename Fallback>
class Installable {
public:
    static Interface& Current() { return Installed() ? *Installed() : BuiltIn(); }
    static void Install(Interface* service) { Installed() = service; }

private:
    static Interface*& Installed() {
        static Interface* service = nullptr;
        return service;
    }
    static Fallback& BuiltIn() {
        static Fallback service;
        return service;
    }
};
