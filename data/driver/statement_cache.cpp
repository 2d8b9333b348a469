#include "data/driver/statement_cache.h"

#include "data/driver/fb_status.h"

#include <algorithm>

using namespace Firebird;

namespace Driver {

void PreparedStatement::Free(IMaster* master) noexcept {
    if (inMeta)
        inMeta->release();
    if (outMeta)
        outMeta->release();
    inMeta = outMeta = nullptr;
    if (statement) {
        FbStatus st(master);
        statement->free(&st);
        if (st.Failed())
            statement->release();
    }
    statement = nullptr;
}

std::optional<PreparedStatement> StatementCache::Take(const QByteArray& text) {
    const auto it = std::find_if(idle_.begin(), idle_.end(),
                                 [&](const PreparedStatement& s) { return s.text == text; });
    if (it == idle_.end())
        return std::nullopt;
    PreparedStatement taken = std::move(*it);
    idle_.erase(it);
    return taken;
}

void StatementCache::Put(PreparedStatement statement, IMaster* master) noexcept {
    const bool kept = std::any_of(idle_.begin(), idle_.end(), [&](const PreparedStatement& s) {
        return s.text == statement.text;
    });
    if (kept) {
        statement.Free(master);
        return;
    }
    if (idle_.size() >= kCapacity) {
        idle_.front().Free(master);
        idle_.erase(idle_.begin());
    }
    try {
        idle_.push_back(std::move(statement));
    } catch (...) {
        statement.Free(master);
    }
}

void StatementCache::Clear(IMaster* master) noexcept {
    for (PreparedStatement& s : idle_)
        s.Free(master);
    idle_.clear();
}

} // namespace Driver
