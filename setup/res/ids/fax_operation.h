// Resource ids of the FAX TX and FAX RX Operation pages, Select Tray and Forward Location dialogs.
#pragma once
