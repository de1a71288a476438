#pragma once

#include "media/SourceList.h"
#include "storage/MessagePump.h"

// Removes every selected row. Afterwards the row that stood just above the focused row (when
// there was one) is focused and selected. Repainting is suspended meanwhile and resumed, and the
// focus rule applied, even when a deletion throws; the error then reaches the caller.
void RemoveSelectedFiles(ISourceList& grid, IMessagePump& pump);

// Deletes all rows; false when the grid reported an error (rows it failed to delete stay).
bool ClearFileList(ISourceList& grid);
