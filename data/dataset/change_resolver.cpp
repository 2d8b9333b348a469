#include "data/dataset/change_resolver.h"

#include "data/dataset/sql_resolver.h"

namespace {

TChangeResolver& Installed() {
    static TChangeResolver resolver = ResolveWithSql;
    return resolver;
}

} // namespace

TChangeResolver SetDefaultChangeResolver(TChangeResolver resolver) {
    TChangeResolver previous = std::move(Installed());
    Installed() = resolver ? std::move(resolver) : TChangeResolver(ResolveWithSql);
    return previous;
}

const TChangeResolver& DefaultChangeResolver() {
    return Installed();
}
