#pragma once
// The address book window lives in book/book.h; this name is kept for its users.

#include "app/book/book.h"
