#pragma once

// The link by which a detail memory table follows the current record of its master.

#include "platform/DataLink.h"

class TztrMasterDataLink : public TMasterDataLink
{
public:
    using TMasterDataLink::TMasterDataLink;

protected:
    // While the master record is being edited only a change of a master field moves the detail;
    // a bare record change then is the edit beginning, not a new master record.
    void RecordChanged(TField *field) override;
};
