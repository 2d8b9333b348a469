#include "data/dataset/db_error.h"

void DatabaseError(const QString& message) {
    throw EDatabaseError(message);
}
