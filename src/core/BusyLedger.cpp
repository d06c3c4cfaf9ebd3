#include "BusyLedger.h"

#include <utility>

struct BusyLedger::State {
    std::function<void(bool)> changed;
    quint64 context = 0;
    int untilDone = 0;
    std::map<quint64, int> byContext; // tokens alive per context they began in

    bool busy() const { return untilDone > 0 || byContext.count(context) > 0; }
    void notify() const
    {
        if (changed)
            changed(busy());
    }
};

BusyLedger::Token::Token(std::weak_ptr<State> state, Lifetime lifetime, quint64 context)
    : m_state(std::move(state)), m_lifetime(lifetime), m_context(context)
{
}

BusyLedger::Token::Token(Token &&other) noexcept
    : m_state(std::exchange(other.m_state, {})), m_lifetime(other.m_lifetime), m_context(other.m_context)
{
}

BusyLedger::Token &BusyLedger::Token::operator=(Token &&other) noexcept
{
    if (this != &other) {
        release();
        m_state = std::exchange(other.m_state, {});
        m_lifetime = other.m_lifetime;
        m_context = other.m_context;
    }
    return *this;
}

BusyLedger::Token::~Token() { release(); }

void BusyLedger::Token::release()
{
    const std::shared_ptr<State> state = std::exchange(m_state, {}).lock();
    if (!state)
        return; // never held, already released, or the ledger is gone
    if (m_lifetime == Lifetime::untilDone) {
        --state->untilDone;
    } else {
        const auto it = state->byContext.find(m_context);
        if (it != state->byContext.end() && --it->second == 0)
            state->byContext.erase(it);
    }
    state->notify();
}

BusyLedger::BusyLedger(std::function<void(bool)> changed) : m_state(std::make_shared<State>())
{
    m_state->changed = std::move(changed);
}

BusyLedger::Token BusyLedger::begin(Lifetime lifetime)
{
    if (lifetime == Lifetime::untilDone)
        ++m_state->untilDone;
    else
        ++m_state->byContext[m_state->context];
    Token token(m_state, lifetime, m_state->context);
    m_state->notify();
    return token;
}

void BusyLedger::endContext()
{
    ++m_state->context;
    m_state->notify();
}

bool BusyLedger::isBusy() const { return m_state->busy(); }

int BusyLedger::running(Lifetime lifetime) const
{
    if (lifetime == Lifetime::untilDone)
        return m_state->untilDone;
    const auto it = m_state->byContext.find(m_state->context);
    return it == m_state->byContext.end() ? 0 : it->second;
}
