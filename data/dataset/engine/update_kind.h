#pragma once
// The kinds of change a client dataset records and the actions a reconcile
// handler chooses for a change that the database refused.

enum TUpdateKind { ukModify, ukInsert, ukDelete };

enum TReconcileAction { raSkip, raAbort, raMerge, raCorrect, raCancel, raRefresh };
