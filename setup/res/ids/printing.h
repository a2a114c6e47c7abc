// Resource ids of the printed dial lists.
#pragma once
