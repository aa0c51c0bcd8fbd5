#pragma once
#include <QThread>

class TForm1;

// The batch worker: reads the folder field, walks it, reports the result in a
// message and gives the batch button back. Starts on creation, frees itself.
class THDMOD : public QThread {
    Q_OBJECT

public:
    static void Start(TForm1* form);

protected:
    void run() override { Execute(); }

private:
    explicit THDMOD(TForm1* form);
    void Execute();
    TForm1* form_;
};
