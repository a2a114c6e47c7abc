// Resource ids of the Machine Information page.
#pragma once
