#pragma once

#include "core/apperror.h"

namespace db {

// Engine failures carry the same number and description as every other failure.
using DbError = core::AppError;

} // namespace db
