-- Tables every translation case runs against. Dates are serials
-- (days since 30 Dec 1899), Yes/No values -1 and 0, as the engine stores them.
CREATE TABLE Customers (CustomerID LONG, Company TEXT COLLATE ACCESS, City TEXT COLLATE ACCESS,
  Country TEXT COLLATE ACCESS, Since DATE, Active BOOLEAN);
INSERT INTO Customers VALUES
  (1, 'Alfreds', 'Berlin', 'Germany', 37622.0, -1),
  (2, 'Bólido', 'Madrid', 'Spain', 37623.5, 0),
  (3, 'chop-suey', 'berlin', 'Germany', 36526.25, -1),
  (4, 'Du monde ', 'Nantes', 'France', NULL, 0),
  (5, 'Ernst', NULL, NULL, 0.75, -1);
CREATE TABLE Orders (OrderID LONG, CustomerID LONG, OrderDate DATE, Amount CURRENCY,
  Region TEXT COLLATE ACCESS, Qty SHORT, Weight DOUBLE, Note MEMO COLLATE ACCESS);
INSERT INTO Orders VALUES
  (10, 1, 37622.0, 12.5, 'North', 3, 1.5, 'first'),
  (11, 1, 37650.25, 100.0, 'south', 1, 0.25, NULL),
  (12, 2, 37700.0, 7.25, 'North', 7, 2.0, 'O''Brien'),
  (13, 3, 37700.0, 100.0, 'East', 2, NULL, 'x'),
  (14, 9, 37710.5, 0.0, NULL, 5, 3.75, 'no customer'),
  (15, 3, 37800.0, 100.0, 'East', 4, 1.0, 'last');
CREATE TABLE Numbers (N LONG, X DOUBLE, S SINGLE, T TEXT COLLATE ACCESS);
INSERT INTO Numbers VALUES (1, 2.5, 0.1, '10'), (2, -2.5, 654322.23456, 'abc'),
  (3, 3.5, 1.5, ' 7'), (4, NULL, NULL, NULL);
-- query BigOrders: SELECT OrderID, Amount FROM Orders WHERE Amount >= 100
-- query OrdersByCustomer: SELECT CustomerID, Count(*) AS N FROM Orders GROUP BY CustomerID
-- query ByRegion: PARAMETERS [Which region] Text ( 255 ); SELECT OrderID FROM Orders WHERE Region = [Which region]
-- query LoopA: SELECT * FROM LoopB
-- query LoopB: SELECT * FROM LoopA
-- query action Wipe: DELETE FROM Orders
