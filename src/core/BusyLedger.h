#pragma once

#include <QtGlobal>

#include <functional>
#include <map>
#include <memory>

// What keeps a model busy. Every piece of work that counts as running holds a token for as
// long as it runs; the busy flag is derived from the tokens alive. A token ends when it is
// released or destroyed, so no way out of a workflow (an early return, a stale answer, a
// failure, a coroutine frame that outlived its model) can leave the flag set or clear
// another's.
class BusyLedger {
    struct State;

public:
    enum class Lifetime {
        context,  // ends, as far as the flag goes, with the context (a device change)
        untilDone // counts until it ends, whatever the context
    };

    class [[nodiscard]] Token {
    public:
        Token() = default;
        Token(Token &&other) noexcept;
        Token &operator=(Token &&other) noexcept;
        Token(const Token &) = delete;
        Token &operator=(const Token &) = delete;
        ~Token();

        // Ends the work's share of the flag now; later calls do nothing.
        void release();
        bool isHeld() const { return !m_state.expired(); }

    private:
        friend class BusyLedger;
        Token(std::weak_ptr<State> state, Lifetime lifetime, quint64 context);
        std::weak_ptr<State> m_state;
        Lifetime m_lifetime = Lifetime::context;
        quint64 m_context = 0;
    };

    // `changed` is called with the new flag whenever it may have changed.
    explicit BusyLedger(std::function<void(bool)> changed);
    BusyLedger(const BusyLedger &) = delete;
    BusyLedger &operator=(const BusyLedger &) = delete;

    Token begin(Lifetime lifetime = Lifetime::context);
    // Work begun before no longer counts, unless it lives until done.
    void endContext();

    bool isBusy() const;
    int running(Lifetime lifetime) const; // counted ones only

private:
    std::shared_ptr<State> m_state;
};
